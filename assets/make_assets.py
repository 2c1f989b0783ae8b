#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 Quillog developers

"""Renders Quillog's picture assets from drawings made here.

dial.svg (written by this script) is a close-up of a lit analogue tuning dial; it becomes
dial.jpg, 244 x 287, shown in the window from its top-left corner, and dial@2x.jpg at twice that
size for screens with two device pixels to the pixel and for large fonts. quillog.svg is the
program icon, drawn by hand; it becomes the PNG sizes the window and the desktop use (twice the
window's sizes included), and quillog.ico for Windows builds.

Needs rsvg-convert (Debian: librsvg2-bin) and ImageMagick. Run from anywhere:
    python3 assets/make_assets.py
"""
import math
import os
import subprocess

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 244, 287


def dial_svg():
    out = []
    a = out.append
    a(f'<svg xmlns="http://www.w3.org/2000/svg" width="{W}" height="{H}" viewBox="0 0 {W} {H}">')
    a('''<defs>
 <radialGradient id="glow" cx="0.45" cy="0.4" r="0.75">
  <stop offset="0" stop-color="#ffe7a8"/><stop offset="0.55" stop-color="#f3b24a"/><stop offset="1" stop-color="#8a4a12"/>
 </radialGradient>
 <linearGradient id="wood" x1="0" y1="0" x2="1" y2="1">
  <stop offset="0" stop-color="#3b2414"/><stop offset="0.5" stop-color="#24150b"/><stop offset="1" stop-color="#120a05"/>
 </linearGradient>
 <radialGradient id="knob" cx="0.35" cy="0.3" r="0.8">
  <stop offset="0" stop-color="#6b6b6b"/><stop offset="0.6" stop-color="#262626"/><stop offset="1" stop-color="#0b0b0b"/>
 </radialGradient>
 <radialGradient id="halo" cx="0.5" cy="0.5" r="0.5">
  <stop offset="0" stop-color="#ffb347" stop-opacity="0.35"/><stop offset="1" stop-color="#ffb347" stop-opacity="0"/>
 </radialGradient>
</defs>''')
    a(f'<rect width="{W}" height="{H}" fill="url(#wood)"/>')
    for i in range(0, H, 9):  # wood grain of the cabinet
        a(f'<path d="M 0 {i} C 80 {i+6} 160 {i-5} {W} {i+3}" stroke="#4a2e19" '
          'stroke-opacity="0.35" stroke-width="1.2" fill="none"/>')
    a('<ellipse cx="120" cy="110" rx="150" ry="120" fill="url(#halo)"/>')  # the dial lamp

    # The lit scale: a half ring, much larger than the picture, seen close up.
    cx, cy, R = 150, 205, 175
    a(f'<path d="M {cx-R} {cy} A {R} {R} 0 0 1 {cx+R} {cy} L {cx+R-70} {cy} '
      f'A {R-70} {R-70} 0 0 0 {cx-R+70} {cy} Z" fill="url(#glow)" stroke="#1a0f06" stroke-width="4"/>')
    labels = ['540', '600', '700', '800', '1000', '1200', '1400', '1600']
    n = 40
    for k in range(n + 1):
        ang = math.radians(180 - k * (180 / n))
        major = k % 5 == 0
        r0, r1 = R - 6, R - (22 if major else 14)
        a(f'<line x1="{cx+r0*math.cos(ang):.1f}" y1="{cy-r0*math.sin(ang):.1f}" '
          f'x2="{cx+r1*math.cos(ang):.1f}" y2="{cy-r1*math.sin(ang):.1f}" stroke="#2a1606" '
          f'stroke-width="{2.2 if major else 1.2}"/>')
        if major and k // 5 < len(labels):
            rt = R - 36
            xt, yt = cx + rt * math.cos(ang), cy - rt * math.sin(ang)
            rot = 90 - math.degrees(ang)
            a(f'<text x="{xt:.1f}" y="{yt:.1f}" font-family="DejaVu Sans" font-size="11" '
              'font-weight="bold" fill="#3a1c05" text-anchor="middle" dominant-baseline="middle" '
              f'transform="rotate({rot:.1f} {xt:.1f} {yt:.1f})">{labels[k // 5]}</text>')
    for k in range(0, n + 1, 2):
        ang = math.radians(180 - k * (180 / n))
        r0, r1 = R - 52, R - 58
        a(f'<line x1="{cx+r0*math.cos(ang):.1f}" y1="{cy-r0*math.sin(ang):.1f}" '
          f'x2="{cx+r1*math.cos(ang):.1f}" y2="{cy-r1*math.sin(ang):.1f}" stroke="#5a2e08" '
          'stroke-width="1"/>')
    a(f'<text x="{cx-95}" y="{cy-20}" font-family="DejaVu Sans" font-size="9" fill="#5a2e08">kc</text>')

    ang = math.radians(118)  # the pointer
    a(f'<line x1="{cx+(R-75)*math.cos(ang):.1f}" y1="{cy-(R-75)*math.sin(ang):.1f}" '
      f'x2="{cx+(R-4)*math.cos(ang):.1f}" y2="{cy-(R-4)*math.sin(ang):.1f}" stroke="#c81e12" '
      'stroke-width="3" stroke-linecap="round"/>')
    a(f'<path d="M {cx-R+14} {cy-30} A {R-14} {R-14} 0 0 1 {cx-20} {cy-R+14}" stroke="#ffffff" '
      'stroke-opacity="0.25" stroke-width="6" fill="none"/>')  # reflection on the glass
    a(f'<path d="M {cx-R-6} {cy} A {R+6} {R+6} 0 0 1 {cx+R+6} {cy}" stroke="#b8a27a" '
      'stroke-width="3" fill="none"/>')  # bezel

    kx, ky, kr = 62, 240, 44  # the tuning knob
    a(f'<circle cx="{kx}" cy="{ky}" r="{kr+4}" fill="#0b0b0b"/>')
    a(f'<circle cx="{kx}" cy="{ky}" r="{kr}" fill="url(#knob)"/>')
    for k in range(36):
        ang = math.radians(k * 10)
        a(f'<line x1="{kx+(kr-1)*math.cos(ang):.1f}" y1="{ky+(kr-1)*math.sin(ang):.1f}" '
          f'x2="{kx+(kr-7)*math.cos(ang):.1f}" y2="{ky+(kr-7)*math.sin(ang):.1f}" '
          'stroke="#050505" stroke-width="1.5"/>')
    a(f'<circle cx="{kx}" cy="{ky}" r="{kr-14}" fill="#1c1c1c" stroke="#3c3c3c" stroke-width="1"/>')
    a(f'<circle cx="{kx-10}" cy="{ky-12}" r="6" fill="#ffffff" fill-opacity="0.12"/>')
    a('</svg>')
    return '\n'.join(out) + '\n'


def run(*args):
    subprocess.run(args, check=True, cwd=HERE)


def main():
    with open(os.path.join(HERE, 'dial.svg'), 'w') as f:
        f.write(dial_svg())
    for scale, name in [(1, 'dial.jpg'), (2, 'dial@2x.jpg')]:
        run('rsvg-convert', '-w', str(W * scale), '-h', str(H * scale), 'dial.svg', '-o', 'dial.png')
        # A little grain, so it reads as a photograph rather than a drawing.
        run('convert', 'dial.png', '-attenuate', '0.4', '+noise', 'Gaussian', '-strip',
            '-quality', '88', name)
        os.remove(os.path.join(HERE, 'dial.png'))

    sizes = [16, 24, 32, 48, 64, 96, 256]
    for size in sizes:
        run('rsvg-convert', '-w', str(size), '-h', str(size), 'quillog.svg',
            '-o', f'quillog-{size}.png')
    run('convert', *[f'quillog-{size}.png' for size in sizes[:4]], 'quillog.ico')


if __name__ == '__main__':
    main()
