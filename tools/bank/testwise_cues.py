#!/usr/bin/env python3
"""How far a student who knows nothing gets with the classic test-wise cues.

Reads the theme files and plays each cue on every question without looking
at the key: a cue picks some options (or gives no signal), and scores 1/k
when the key is among its k picks, 0 when it is not, 1/4 with no signal.
Pure guessing scores 25 %. With --limit, exits 1 when a cue scores more.

    tools/bank/testwise_cues.py [--limit 26] [content/bank]
"""
import argparse
import pathlib
import re
import sys

STOP = set("""и в во на с со к ко по за из от до для при под над о об у а но или не ни же ли что как это
его ее их все всех всего является являются относятся которые который которая без так чем где""".split())
ABSOLUTE = re.compile(r"\b(всегда|только|никогда|все|любой|любые|всех)\b", re.I)
UNITS = {"с": 1, "мин": 60, "ч": 3600, "м": 1, "км": 1000}
NUMBER_WORDS = {"один": 1, "одного": 1, "два": 2, "двух": 2, "три": 3, "трех": 3, "четыре": 4,
                "четырех": 4, "пять": 5, "пяти": 5, "шесть": 6, "шести": 6}


def read_bank(folder):
    questions = []
    for path in sorted(pathlib.Path(folder).glob("theme-*.txt")):
        record = None
        for line in path.read_text(encoding="utf-8").splitlines():
            if line.startswith("[Tq"):
                record = {"name": line.strip("[]"), "options": {}}
                questions.append(record)
            elif record is not None and ": " in line:
                key, value = line.split(": ", 1)
                if key == "вопрос":
                    record["text"] = re.sub(r" {5,}", " ", value)
                elif key in "1234" and len(key) == 1:
                    record["options"][int(key)] = value.strip()
                elif key == "верный":
                    record["right"] = int(value)
    return questions


def words(text):
    return [w for w in re.findall(r"[а-яА-ЯёЁa-zA-Z]+", text.lower()) if len(w) >= 4 and w not in STOP]


def stems(text):
    return {w[:5] for w in words(text)}


def value(option):
    """The option's value when it is a number, a range or a count word."""
    text = re.sub(r"^(до|не|менее|более|около|свыше)\s+", "", option.lower())
    text = re.sub(r"^(не|менее|более)\s+", "", text)
    match = re.match(r"(\d+(?:,\d+)?)(?:[-–](\d+(?:,\d+)?))?\s*([а-я]+)?", text)
    if match:
        low = float(match.group(1).replace(",", "."))
        high = float(match.group(2).replace(",", ".")) if match.group(2) else low
        return (low + high) / 2 * UNITS.get(match.group(3) or "", 1)
    for word in re.findall(r"[а-я]+", text):
        if word in NUMBER_WORDS:
            return NUMBER_WORDS[word]
    return None


def unit(option):
    """The unit written after an option's number («м», «км», «мм» of «100-мм»), or None."""
    text = re.sub(r"^((до|не|менее|более|около|свыше)\s+)+", "", option.lower())
    match = re.match(r"\d+(?:,\d+)?(?:[-–]\d+(?:,\d+)?)?[\s-]?(\S*)", text)
    return match.group(1) if match else None


def values(q):
    found = [value(q["options"][p]) for p in range(1, 5)]
    return None if None in found or len(set(found)) < 4 else found


def pick_extreme(measure, q, largest=True):
    sizes = {p: measure(q["options"][p]) for p in range(1, 5)}
    best = max(sizes.values()) if largest else min(sizes.values())
    picks = {p for p, s in sizes.items() if s == best}
    return picks if len(picks) < 4 else None


def feature_stems(text):
    """Crude stems of the words that tell options apart, three-letter abbreviations (мсв, мср) included."""
    return {w[:5] for w in re.findall(r"[а-яё]+", text.lower()) if len(w) >= 3 and w not in STOP}


def links(q):
    """For each option, the other options it shares a stem with that not all four share."""
    sets = {p: feature_stems(q["options"][p]) for p in range(1, 5)}
    common = set.intersection(*sets.values())
    return {p: {o for o in sets if o != p and (sets[p] & sets[o]) - common} for p in sets}


def hub(q):
    """The option sharing words with the most others."""
    degree = {p: len(others) for p, others in links(q).items()}
    best = max(degree.values())
    picks = {p for p, d in degree.items() if d == best}
    return picks if best > 0 and len(picks) < 4 else None


def centre(q):
    """The option sharing a word with every other one: the wrong options read as changes of it."""
    picks = {p for p, others in links(q).items() if len(others) == 3}
    return picks if 0 < len(picks) < 4 else None


def lone_unit(q):
    """In a numeric question, the one option in a unit no other has."""
    if not values(q):
        return None
    units = {p: unit(q["options"][p]) for p in range(1, 5)}
    picks = {p for p, u in units.items() if list(units.values()).count(u) == 1}
    return picks if len(picks) == 1 else None


def longest(q):
    return pick_extreme(len, q)


def shortest(q):
    return pick_extreme(len, q, largest=False)


def middle_value(q):
    found = values(q)
    if not found:
        return None
    order = sorted(range(4), key=lambda i: found[i])
    return {order[1] + 1, order[2] + 1}


def breaks_order(q):
    found = values(q)
    if not found:
        return None
    def ordered(seq):
        return seq == sorted(seq) or seq == sorted(seq, reverse=True)
    if ordered(found):
        return None
    breakers = {p for p in range(1, 5) if ordered([v for i, v in enumerate(found) if i != p - 1])}
    return breakers or None


def odd_length(q):
    sizes = {p: len(q["options"][p]) for p in range(1, 5)}
    for p, size in sizes.items():
        others = [s for o, s in sizes.items() if o != p]
        mean = sum(others) / 3
        if all(abs(s - mean) <= 0.15 * mean for s in others) and abs(size - mean) > 0.3 * mean:
            return {p}
    return None


FORMS = [lambda t: bool(re.search(r"\d", t)), lambda t: "(" in t, lambda t: t.count(",") + t.count(" и "),
         lambda t: t[:1].isupper(), lambda t: '"' in t, lambda t: len(t.split())]


def odd_form(q):
    picks = set()
    for form in FORMS:
        kinds = [form(q["options"][p]) for p in range(1, 5)]
        for p in range(1, 5):
            if kinds.count(kinds[p - 1]) == 1 and len(set(kinds)) == 2:
                picks.add(p)
    return picks if 0 < len(picks) < 4 else None


def union(q):
    sets = {p: set(words(q["options"][p])) for p in range(1, 5)}
    picks = {p for p in sets for o in sets if o != p and sets[o] and sets[o] < sets[p]}
    return picks or None


def stem_overlap(q):
    stem = stems(q["text"])
    shared = {p: len(stems(q["options"][p]) & stem) for p in range(1, 5)}
    best = max(shared.values())
    picks = {p for p, s in shared.items() if s == best}
    return picks if best > 0 and len(picks) < 4 else None


def absolute(q):
    marked = {p for p in range(1, 5) if ABSOLUTE.search(q["options"][p])}
    return set(range(1, 5)) - marked if 0 < len(marked) < 4 else None


def convergence(q):
    sets = {p: stems(q["options"][p]) for p in range(1, 5)}
    shared = {p: sum(len(sets[p] & sets[o]) for o in sets if o != p) for p in sets}
    best = max(shared.values())
    picks = {p for p, s in shared.items() if s == best}
    return picks if best > 0 and len(picks) < 4 else None


CUES = {"longest option": longest, "middle value": middle_value, "odd one out by length": odd_length,
        "odd one out by form": odd_form, "union": union, "stem overlap": stem_overlap,
        "absolute words": absolute, "shortest option": shortest, "breaks the order": breaks_order,
        "convergence": convergence, "hub": hub, "centre": centre, "lone unit": lone_unit}


def score(picks, right):
    if picks is None:
        return 0.25, False
    return (1 / len(picks) if right in picks else 0.0), True


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("bank", nargs="?", default=pathlib.Path(__file__).resolve().parents[2] / "content/bank")
    parser.add_argument("--limit", type=float, help="fail when a cue scores more than this percentage")
    parser.add_argument("--show", metavar="CUE", help="list the questions where the cue picks the right option")
    args = parser.parse_args()
    questions = read_bank(args.bank)
    worst = 0.0
    print(f"{'cue':24} {'bank':>7} {'applies':>8} {'where it applies':>17}")
    for name, cue in CUES.items():
        total, applied, applied_total = 0.0, 0, 0.0
        for q in questions:
            points, applies = score(cue(q), q["right"])
            total += points
            if applies:
                applied += 1
                applied_total += points
        share = 100 * total / len(questions)
        where = f"{100 * applied_total / applied:.1f} %" if applied else "-"
        print(f"{name:24} {share:6.1f} % {applied:8} {where:>17}")
        worst = max(worst, share)
    if args.show:
        for q in questions:
            picks = CUES[args.show](q)
            if picks and q["right"] in picks:
                print(f"{q['name']}: picks {sorted(picks)}: " + " | ".join(q["options"][p] for p in range(1, 5)))
    numeric = [q for q in questions if values(q)]
    extreme = sum(1 for q in numeric if q["right"] not in middle_value(q))
    print(f"numeric questions: {len(numeric)}, key smallest or largest in {extreme} "
          f"({100 * extreme / max(len(numeric), 1):.0f} %)")
    if args.limit is not None and worst > args.limit:
        print(f"a cue scores {worst:.1f} %, more than {args.limit} %", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
