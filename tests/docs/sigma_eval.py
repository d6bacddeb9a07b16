"""Sigma detection rules and filters, evaluated on single events.

The subset the security document's filters and the public rules it cites
use: maps and lists of maps; values and lists of values; the modifiers
contains, startswith, endswith, all, re (with i, m and s); plain values with
Sigma's wildcards, matched without regard to case; conditions of named
search identifiers with and, or, not, brackets, "1 of"/"all of" a name
pattern or "them". A filter joins its condition to each rule it names with
"and", as pySigma does. Anything outside the subset raises SigmaError, so a
rule is never judged by a reading it does not have.
"""

import fnmatch
import re

KNOWN_MODIFIERS = {"contains", "startswith", "endswith", "all", "re", "i", "m", "s"}


class SigmaError(Exception):
    pass


def _plain_pattern(value, prefix_any, suffix_any):
    """A plain Sigma value as a regular expression: * and ? are wildcards,
    a backslash escapes *, ? and itself and is otherwise a backslash."""
    out = [".*" if prefix_any else ""]
    i = 0
    while i < len(value):
        c = value[i]
        if c == "\\" and i + 1 < len(value) and value[i + 1] in "*?\\":
            out.append(re.escape(value[i + 1]))
            i += 2
            continue
        out.append(".*" if c == "*" else "." if c == "?" else re.escape(c))
        i += 1
    out.append(".*" if suffix_any else "")
    return re.compile("".join(out), re.IGNORECASE | re.DOTALL)


def _value_test(modifiers, value):
    """One value of a field, with the field's modifiers, as a test of a text."""
    if value is None:
        return lambda text: text is None or text == ""
    if isinstance(value, bool) or not isinstance(value, (str, int)):
        raise SigmaError(f"value {value!r} is outside the subset")
    value = str(value)
    if "re" in modifiers:
        flags = 0
        for flag, bit in (("i", re.IGNORECASE), ("m", re.MULTILINE), ("s", re.DOTALL)):
            if flag in modifiers:
                flags |= bit
        pattern = re.compile(value, flags)
        return lambda text: text is not None and pattern.search(text) is not None
    if {"i", "m", "s"} & modifiers:
        raise SigmaError("i, m and s qualify re only")
    pattern = _plain_pattern(value, "contains" in modifiers or "endswith" in modifiers,
                             "contains" in modifiers or "startswith" in modifiers)
    return lambda text: text is not None and pattern.fullmatch(text) is not None


def _field_test(key, values):
    field, *mods = key.split("|")
    modifiers = set(mods)
    unknown = modifiers - KNOWN_MODIFIERS
    if unknown or len(mods) != len(modifiers):
        raise SigmaError(f"{key}: modifiers outside the subset: {sorted(unknown) or mods}")
    if len({"contains", "startswith", "endswith", "re"} & modifiers) > 1:
        raise SigmaError(f"{key}: more than one kind of match")
    tests = [_value_test(modifiers, v) for v in (values if isinstance(values, list) else [values])]
    if not tests:
        raise SigmaError(f"{key}: no value")
    combine = all if "all" in modifiers else any
    return lambda event: combine(test(event.get(field)) for test in tests)


def _search_test(name, definition):
    if isinstance(definition, dict):
        tests = [_field_test(k, v) for k, v in definition.items()]
        return lambda event: all(t(event) for t in tests)
    if isinstance(definition, list) and definition and all(isinstance(d, dict) for d in definition):
        alternatives = [_search_test(name, d) for d in definition]
        return lambda event: any(t(event) for t in alternatives)
    raise SigmaError(f"search identifier {name}: keyword lists are outside the subset")


_TOKEN = re.compile(r"\s*(\(|\)|[A-Za-z0-9_*]+)")


def _condition_test(condition, searches):
    """Parses a condition over the named searches into a test of an event."""
    if "|" in condition:
        raise SigmaError(f"condition {condition!r}: aggregations are outside the subset")
    tokens, pos = [], 0
    while pos < len(condition.rstrip()):
        m = _TOKEN.match(condition, pos)
        if not m:
            raise SigmaError(f"condition {condition!r}: cannot read at {pos}")
        tokens.append(m.group(1))
        pos = m.end()
    at = [0]

    def peek():
        return tokens[at[0]] if at[0] < len(tokens) else None

    def take(expected=None):
        token = peek()
        if token is None or (expected and token != expected):
            raise SigmaError(f"condition {condition!r}: expected {expected or 'more'}")
        at[0] += 1
        return token

    def named(pattern):
        names = sorted(searches) if pattern == "them" else fnmatch.filter(sorted(searches), pattern)
        if not names:
            raise SigmaError(f"condition {condition!r}: {pattern} names no search")
        return [searches[n] for n in names]

    def atom():
        token = take()
        if token == "(":
            inner = expression()
            take(")")
            return inner
        if token == "not":
            inner = atom()
            return lambda e: not inner(e)
        if token in ("1", "all") and peek() == "of":
            take("of")
            chosen = named(take())
            combine = any if token == "1" else all
            return lambda e: combine(t(e) for t in chosen)
        if token not in searches:
            raise SigmaError(f"condition {condition!r}: no search named {token}")
        return searches[token]

    def chain(word, part, combine):
        """Parts joined by the word: "a and b and c"."""
        parts = [part()]
        while peek() == word:
            take()
            parts.append(part())
        return lambda e: combine(p(e) for p in parts)

    def conjunction():
        return chain("and", atom, all)

    def expression():
        return chain("or", conjunction, any)

    test = expression()
    if peek() is not None:
        raise SigmaError(f"condition {condition!r}: {peek()} left over")
    return test


class Detection:
    """A rule's detection, or a filter's: its searches and its condition."""

    def __init__(self, name, block):
        if not isinstance(block, dict) or "condition" not in block:
            raise SigmaError(f"{name}: no condition")
        searches = {k: _search_test(k, v) for k, v in block.items() if k not in ("condition", "rules")}
        condition = block["condition"]
        if not isinstance(condition, str):
            raise SigmaError(f"{name}: one condition only")
        self.test = _condition_test(condition, searches)


class Rule:
    def __init__(self, document):
        self.id = document.get("id")
        self.title = document["title"]
        self.level = document.get("level")
        self.logsource = document["logsource"]
        self.detection = Detection(self.title, document["detection"])


class Filter:
    def __init__(self, document):
        if "detection" in document or "filter" not in document:
            raise SigmaError(f"{document.get('title')}: a filter holds filter:, not detection:")
        self.id = document.get("id")
        self.title = document["title"]
        self.logsource = document["logsource"]
        self.rules = list(document["filter"]["rules"])
        self.detection = Detection(self.title, document["filter"])


def fires(rule, event, filters=()):
    """Whether the rule alerts on the event with the filters that name it."""
    if not rule.detection.test(event):
        return False
    for f in filters:
        if rule.id in f.rules:
            if f.logsource != rule.logsource:
                raise SigmaError(f"filter {f.title} and rule {rule.title} read different log sources")
            if not f.detection.test(event):
                return False
    return True
