#!/usr/bin/env python3
"""Draws the program icon, a blue disc with a white arrow, and writes Tolvane.ico.

Sizes: 16, 32 and 48 pixels in 32-bit colour with alpha, plus 32 x 32 in 256 colours for
systems and tools that pick the palette image. Only the standard library is used, so that the
icon can be regenerated anywhere:  python3 genere_icone.py Tolvane.ico
"""
import math
import struct
import sys

SUR = 4  # samples per pixel along each axis, for smooth edges


def couverture(taille, forme):
    """Fraction of each pixel inside `forme` (a predicate over the unit square)."""
    grille = []
    for y in range(taille):
        ligne = []
        for x in range(taille):
            n = 0
            for sy in range(SUR):
                for sx in range(SUR):
                    u = (x + (sx + 0.5) / SUR) / taille
                    v = (y + (sy + 0.5) / SUR) / taille
                    n += forme(u, v)
            ligne.append(n / (SUR * SUR))
        grille.append(ligne)
    return grille


def disque(u, v):
    return (u - 0.5) ** 2 + (v - 0.5) ** 2 <= 0.46 ** 2


def fleche(u, v):
    # A right-pointing arrow: a shaft and a triangular head.
    if 0.22 <= u <= 0.55 and 0.41 <= v <= 0.59:
        return True
    if 0.52 <= u <= 0.80:
        demi = 0.26 * (0.80 - u) / 0.28
        return abs(v - 0.5) <= demi
    return False


def image_rvba(taille):
    d = couverture(taille, disque)
    f = couverture(taille, fleche)
    pixels = []
    for y in range(taille):
        for x in range(taille):
            # Lighter at the top left, darker at the bottom right.
            t = (x + y) / (2 * taille)
            bleu = (int(40 - 20 * t), int(120 - 60 * t), int(230 - 70 * t))
            a = f[y][x]
            r, g, b = (int(c * (1 - a) + 255 * a) for c in bleu)
            pixels.append((r, g, b, int(round(255 * d[y][x]))))
    return pixels


def bmp_32(taille, pixels):
    entete = struct.pack("<IiiHHIIiiII", 40, taille, taille * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in reversed(range(taille)):
        for x in range(taille):
            r, g, b, a = pixels[y * taille + x]
            xor += bytes((b, g, r, a))
    return entete + bytes(xor) + masque(taille, pixels)


def masque(taille, pixels):
    pas = ((taille + 31) // 32) * 4
    et = bytearray()
    for y in reversed(range(taille)):
        ligne = bytearray(pas)
        for x in range(taille):
            if pixels[y * taille + x][3] < 128:
                ligne[x // 8] |= 0x80 >> (x % 8)
        et += ligne
    return bytes(et)


def bmp_8(taille, pixels):
    # The palette holds the colours of the image quantised to 6 levels per channel (216 entries).
    def niveau(c):
        return min(5, int(round(c / 51)))

    palette = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    entete = struct.pack("<IiiHHIIiiII", 40, taille, taille * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    pas = (taille + 3) // 4 * 4
    xor = bytearray()
    for y in reversed(range(taille)):
        ligne = bytearray(pas)
        for x in range(taille):
            r, g, b, a = pixels[y * taille + x]
            ligne[x] = 0 if a < 128 else niveau(r) * 36 + niveau(g) * 6 + niveau(b)
        xor += ligne
    return entete + pal + bytes(xor) + masque(taille, pixels)


def main():
    sortie = sys.argv[1] if len(sys.argv) > 1 else "Tolvane.ico"
    images = [(32, 8, bmp_8(32, image_rvba(32)))]
    images += [(t, 32, bmp_32(t, image_rvba(t))) for t in (16, 32, 48)]
    tete = struct.pack("<HHH", 0, 1, len(images))
    position = 6 + 16 * len(images)
    repertoire, donnees = b"", b""
    for taille, bits, octets in images:
        couleurs = 0  # 0 means 256 or more
        repertoire += struct.pack("<BBBBHHII", taille, taille, couleurs, 0, 1, bits, len(octets), position)
        donnees += octets
        position += len(octets)
    with open(sortie, "wb") as f:
        f.write(tete + repertoire + donnees)


if __name__ == "__main__":
    main()
