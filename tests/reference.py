"""An independent model of a whole run, written from the rules rather than from
the C++ code: the generator, the draws, the physics with its single-precision
roundings, and every text, with Python's own printf-style "%g".

Used by the end-to-end tests to predict, for a frozen clock, the exact bytes a
run prints."""

import math
import struct

BANNER = "Projectile motion question generator (NOTE: solutions don't use sig figs)\n\n"
COUNT_PROMPT = "Number of questions? "
CLOSING_PROMPT = "Program finished, press enter to exit."


def f32(x):
    """x rounded to the nearest single-precision value."""
    return struct.unpack("<f", struct.pack("<f", x))[0]


def bits(pattern):
    return struct.unpack("<f", struct.pack("<I", pattern))[0]


MINUS_G = bits(0xC11CCCCD)
MINUS_2G = bits(0xC19CCCCD)
MINUS_HALF_G = bits(0xC09CCCCD)
DEG_TO_RAD = bits(0x3C8EFA35)
RAD_TO_DEG = bits(0x42652EE0)


class CrtRand:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def __call__(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


def random(raw, lowest, highest):
    return lowest + ((highest - lowest + 1) * raw()) // 32768


def hundredths(n):
    return f32(n / 100.0)


def draw(raw):
    """(kind, umag, angle, h) for the next question."""
    umag = hundredths(random(raw, 1000, 10000))
    if random(raw, 1, 2) == 1:
        return 1, umag, hundredths(random(raw, 1000, 8000)), 0.0
    return 2, umag, 0.0, hundredths(random(raw, 100, 10000))


def g(x):
    return "%g" % x


def question_text(number, kind, umag, angle, h):
    if kind == 1:
        return (f"\n{number}. A projectile is launched from the ground at a speed of {g(umag)} m/s\n"
                f" at an angle {g(angle)} degrees above the horizontal.\n"
                "Find the time of flight, range, maximum height and velocity on impact.\n")
    return (f"\n{number}. A projectile is launched horizontally from a height of {g(h)} m\n"
            f" at a speed of {g(umag)} m/s\n"
            "Find the time of flight, range and velocity on impact.\n")


def answer_text(umag, angle, h):
    radians = angle * DEG_TO_RAD  # exact: both factors are floats
    ux = f32(umag * math.cos(radians))
    uy = f32(umag * math.sin(f32(radians)))
    discr = uy * uy - h * MINUS_2G
    t = f32((-uy - math.sqrt(discr)) / MINUS_G)
    sx = ux * t
    out = ["\nAnswer:\n",
           f"(initial vertical velocity = {g(uy)} m/s\n initial horizontal velocity = {g(ux)} m/s)\n",
           f"Time of flight = {g(t)} s\nRange = {g(sx)} m\n"]
    if uy > 0:
        tmax = -uy / MINUS_G
        sy = uy * tmax + tmax * (MINUS_HALF_G * tmax)
        out.append(f"Max height = {g(h + sy)} m (max displacement = {g(sy)} m upwards)\n")
    vy = MINUS_G * t + uy
    out.append(f"(final vertical component of velocity = {g(vy)} m/s\n"
               f" final horizontal component of velocity = {g(ux)} m/s)\n")
    vy = f32(vy)
    vmag = f32(math.sqrt(ux * ux + vy * vy))
    vang = f32(math.atan(vy / ux))
    out.append(f"Velocity on impact is {g(vmag)} m/s at an angle of {g(abs(vang) * RAD_TO_DEG)}"
               " degrees below the horizontal.\n\n")
    return "".join(out)


def run_text(seed, count):
    """Everything a run writes when the count line reads `count` (> 0)."""
    raw = CrtRand(seed)
    out = [BANNER, COUNT_PROMPT]
    for number in range(1, count + 1):
        kind, umag, angle, h = draw(raw)
        out.append(question_text(number, kind, umag, angle, h))
        out.append(answer_text(umag, angle, h))
    out.append(CLOSING_PROMPT)
    return "".join(out)


if __name__ == "__main__":
    import sys
    print(answer_text(*(f32(float(a)) for a in sys.argv[1:4])), end="")
