#!/usr/bin/env python3
"""Regenerate elements.csv from the Python package 'periodictable'.

Reads the package's NIST table (periodictable.mass.massdata) as text, so the
digits of the source are kept exactly:
  - uncertainties in parentheses and the '#' mark are dropped,
  - '[n]' (no standard atomic weight) becomes the mass number n,
  - abundances in percent become fractions by a decimal shift only.

Usage (Debian: apt-get install python3-periodictable):
    python3 extract_elements.py > elements.csv
"""
import re
from decimal import Decimal

from periodictable import mass as pt_mass

MAX_Z = 100


def strip_value(text):
    """'12.0107(8)' -> '12.0107', '[98]' -> '98', '' -> ''."""
    text = text.strip().rstrip('#')
    text = re.sub(r'\(\d+\)$', '', text)
    if text.startswith('[') and text.endswith(']'):
        text = text[1:-1]
    return text


def percent_to_fraction(text):
    frac = Decimal(text).scaleb(-2).normalize()
    return format(frac, 'f')


def main():
    elements = {}
    for line in pt_mass.massdata.splitlines():
        isotope, iso_mass, abundance, avg_mass = line.split(',')
        z, symbol, a = isotope.split('-')
        z, a = int(z), int(a)
        if not 1 <= z <= MAX_Z:
            continue
        el = elements.setdefault(z, {'symbol': symbol,
                                     'mass': strip_value(avg_mass),
                                     'isotopes': []})
        abundance = strip_value(abundance)
        if abundance and Decimal(abundance) > 0:
            el['isotopes'].append((a, strip_value(iso_mass),
                                   percent_to_fraction(abundance)))

    assert sorted(elements) == list(range(1, MAX_Z + 1))
    print('number,symbol,mass,isotopes')
    for z in range(1, MAX_Z + 1):
        el = elements[z]
        isotopes = sorted(el['isotopes'])
        assert len(isotopes) <= 10, el['symbol']
        pairs = ' '.join('%s:%s' % (m, f) for _, m, f in isotopes)
        print('%d,%s,%s,%s' % (z, el['symbol'], el['mass'], pairs))


if __name__ == '__main__':
    main()
