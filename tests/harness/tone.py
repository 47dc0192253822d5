"""Measures a recorded tone: where it is heard, and at what frequency.

    tone.py CAPTURE.raw [EXPECTED_HZ [FROM_MS TO_MS]]

CAPTURE is 16-bit little-endian stereo at 44,100 Hz, as parec records it. Prints
first_sound_ms=, last_sound_ms= (from the start of the capture, in 50 ms windows whose
loudness is above a threshold), heard_ms= (time with sound between them),
segments= (the stretches of sound, START-END in ms, gaps under 250 ms bridged) and
frequency_hz= (the strongest frequency near the expected one, found by a Goertzel filter
over a one-second stretch of sound, to 0.1 Hz); with FROM_MS and TO_MS also rms= (the
loudness between them, on the 16-bit scale).
"""
import array
import math
import sys

RATE = 44100
WINDOW = RATE // 20  # 50 ms
THRESHOLD = 500  # RMS on the 16-bit scale: silence and dither stay far below


def goertzel_power(samples, frequency):
    coefficient = 2 * math.cos(2 * math.pi * frequency / RATE)
    s1 = s2 = 0.0
    for x in samples:
        s1, s2 = x + coefficient * s1 - s2, s1
    return s1 * s1 + s2 * s2 - coefficient * s1 * s2


def segments(loud, bridge=5):
    """Runs of loud windows as (start_ms, end_ms), joined across gaps under bridge windows."""
    runs = []
    for index, is_loud in enumerate(loud):
        if not is_loud:
            continue
        if runs and index - runs[-1][1] < bridge:
            runs[-1][1] = index + 1
        else:
            runs.append([index, index + 1])
    return [(a * 50, b * 50) for a, b in runs]


def main():
    path = sys.argv[1]
    expected = float(sys.argv[2]) if len(sys.argv) > 2 else 440.0
    data = array.array("h")
    with open(path, "rb") as capture:
        data.frombytes(capture.read())
    left = data[0::2]  # one channel is enough: the tone is the same in both
    if len(sys.argv) > 4:
        part = left[int(sys.argv[3]) * RATE // 1000:int(sys.argv[4]) * RATE // 1000]
        print(f"rms={math.sqrt(sum(x * x for x in part) / max(len(part), 1)):.0f}")
    loud = []
    for start in range(0, len(left) - WINDOW + 1, WINDOW):
        window = left[start:start + WINDOW]
        rms = math.sqrt(sum(x * x for x in window) / WINDOW)
        loud.append(rms > THRESHOLD)
    if not any(loud):
        print("first_sound_ms=none")
        print("heard_ms=0")
        print("segments=")
        return
    first = loud.index(True)
    last = len(loud) - 1 - loud[::-1].index(True)
    print(f"first_sound_ms={first * 50}")
    print(f"last_sound_ms={(last + 1) * 50}")
    print(f"heard_ms={sum(loud[first:last + 1]) * 50}")
    print("segments=" + ",".join(f"{a}-{b}" for a, b in segments(loud)))
    # One second from half a second into the sound, past any fade-in.
    begin = (first + 10) * WINDOW
    stretch = left[begin:begin + RATE]
    if len(stretch) < RATE // 2:
        print("frequency_hz=none")
        return
    coarse = max((goertzel_power(stretch, f), f) for f in
                 [expected * (0.9 + 0.005 * i) for i in range(41)])[1]
    fine = max((goertzel_power(stretch, coarse + 0.1 * i), coarse + 0.1 * i)
               for i in range(-25, 26))[1]
    print(f"frequency_hz={fine:.1f}")


if __name__ == "__main__":
    main()
