"""Prints the registrable domain of a host (the part of it a registrant holds: one label
more than its public suffix), by the public suffix list's rules, or the host itself when
it has none (a public suffix, a bare label, an IP address).

    registrable_domain.py HOST[:PORT] [LIST]

LIST is Debian's publicsuffix data (/usr/share/publicsuffix/public_suffix_list.dat). The
build bakes the answer for the station's host into the program, so that the player keeps
a station's parent domains only while they are the station's own, never com.np or np.
"""
import ipaddress
import sys

host = sys.argv[1].rsplit(":", 1)[0] if sys.argv[1].count(":") == 1 else sys.argv[1]
host = host.strip("[]").rstrip(".").lower()
path = sys.argv[2] if len(sys.argv) > 2 else "/usr/share/publicsuffix/public_suffix_list.dat"


def is_ip(text):
    try:
        ipaddress.ip_address(text)
        return True
    except ValueError:
        return False


def public_suffix_length(labels, rules, exceptions):
    """How many of the host's last labels form its public suffix."""
    best = 1  # the default rule, "*": the top-level label
    for n in range(1, len(labels) + 1):
        name = ".".join(labels[-n:])
        if name in exceptions:
            return n - 1
        wildcard = ".".join(["*"] + labels[-(n - 1):]) if n > 1 else "*"
        if name in rules or wildcard in rules:
            best = n
    return best


if is_ip(host) or "." not in host:
    print(host)
    sys.exit(0)
rules, exceptions = set(), set()
with open(path, encoding="utf-8") as data:
    for line in data:
        rule = line.split()[0] if line.split() else ""
        if not rule or rule.startswith("//"):
            continue
        if not rule.isascii():  # hosts come in their ASCII form
            rule = ".".join(label if label in ("*", "!") or label.isascii()
                            else label.encode("idna").decode("ascii") for label in rule.split("."))
        (exceptions if rule.startswith("!") else rules).add(rule.lstrip("!"))
labels = host.split(".")
suffix = public_suffix_length(labels, rules, exceptions)
print(".".join(labels[-(suffix + 1):]) if len(labels) > suffix else host)
