#!/usr/bin/env python3
"""Writes scale_5000 (NAME.csv and NAME.LNM) into DIR from the generator's scale_3000 in DIR: the same
part types and material, every count scaled so that the order has 5 000 pieces, and stock enough."""
import sys

d = sys.argv[1]
rows = [l.split(';') for l in open(f'{d}/scale_3000.csv', newline='').read().split('\r\n') if l]
total = sum(int(r[4]) for r in rows)
counts = [int(r[4]) * 5000 // total for r in rows]
for i in range(5000 - sum(counts)):
    counts[i % len(counts)] += 1
with open(f'{d}/scale_5000.csv', 'w', newline='') as f:
    for r, c in zip(rows, counts):
        f.write(';'.join(r[:4] + [str(c)]) + '\r\n')
lnm = open(f'{d}/scale_3000.LNM', newline='').read()
lnm = lnm.replace('scale_3000', 'scale_5000').replace('|600|', '|1000|')
open(f'{d}/scale_5000.LNM', 'w', newline='').write(lnm)
