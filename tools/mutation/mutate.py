#!/usr/bin/env python3
"""Mirolat's own small mutation tool (run by hand, not in CI).

  mutate.py draw                 draw the fixed sample into sample.json (done once)
  mutate.py list                 show the sample
  mutate.py run [IDS...]         apply each mutant, rebuild, run core_tests and cli_tests
      --start-at ID                     skip the mutants before ID
      --only-survivors-of REPORT.json   only the mutants that survived in that report
      --report PREFIX                   write PREFIX.txt and PREFIX.json (default:
                                        BUILD/mutation-report)
      --build-dir DIR                   default: <tree>/build-mutation (configured if absent)
      --timeout SECONDS                 per test program, default 120 (a timeout kills)
  mutate.py summary R.json... --report PREFIX   merge reports, count again

See README.md in this folder for the lexing rules and the meaning of the results.
"""

import argparse
import datetime
import json
import os
import random
import re
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SAMPLE = os.path.join(HERE, "sample.json")
EQUIVALENT = os.path.join(HERE, "equivalent.txt")

SEED = 17
# How many mutants of each kind the sample holds (90 in all).
QUOTAS = {"relational": 26, "arithmetic": 14, "constant": 20, "remove": 15, "invert": 15}
# Being rewritten while the sample was drawn; left out of it.
EXCLUDED = {
    "src/core/settings/configuration_io.cpp",
    "src/core/settings/record_image.cpp",
    "src/core/settings/config_json.cpp",
}

RELATIONAL = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
ARITHMETIC = {"+": "-", "-": "+", "*": "/", "/": "*"}
# Longest first, so that <<, >>, ->, <=>, ++, +=, ... are single tokens and never mutated.
PUNCT = sorted("<=> <<= >>= ... -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= :: "
               "< > + - * / % = ! ~ & | ^ ? : ; , . ( ) [ ] { }".split(), key=len, reverse=True)
KEYWORDS_NOT_OPERAND = {"return", "case", "co_return", "co_yield", "throw", "sizeof", "new", "delete",
                        "else", "do", "and", "or", "not"}
STATEMENT_KEYWORDS = {"if", "for", "while", "switch", "return", "break", "continue", "goto", "case",
                      "default", "using", "typedef", "namespace", "static_assert", "throw", "do", "else",
                      "try", "catch", "co_return", "co_await", "co_yield", "delete", "new", "sizeof",
                      "template", "class", "struct", "enum", "union", "public", "private", "protected",
                      "friend", "static", "const", "constexpr", "inline", "extern", "auto", "void",
                      "unsigned", "signed", "int", "long", "short", "char", "bool", "double", "float"}


# ---------------------------------------------------------------- lexing

def code_lines(text):
    """The file's lines with comments, string and character literal contents blanked
    (same length, quotes kept) and preprocessor lines (with continuations) blanked."""
    out = []
    state = None  # None, "block" (/* */), or ("raw", delimiter)
    for line in text.split("\n"):
        chars = list(line)
        i, n = 0, len(line)
        if state is None and line.lstrip().startswith("#"):
            out.append(" " * n)
            state = "pp" if line.rstrip().endswith("\\") else None
            continue
        if state == "pp":
            out.append(" " * n)
            state = "pp" if line.rstrip().endswith("\\") else None
            continue
        while i < n:
            if state == "block":
                end = line.find("*/", i)
                stop = n if end < 0 else end + 2
                for k in range(i, stop):
                    chars[k] = " "
                i = stop
                if end >= 0:
                    state = None
                continue
            if isinstance(state, tuple):
                close = ")" + state[1] + '"'
                end = line.find(close, i)
                stop = n if end < 0 else end + len(close) - 1
                for k in range(i, stop):
                    chars[k] = " "
                i = stop
                if end >= 0:
                    state = None
                    i += 1
                continue
            c = line[i]
            if line.startswith("//", i):
                for k in range(i, n):
                    chars[k] = " "
                break
            if line.startswith("/*", i):
                state = "block"
                continue
            m = re.match(r'(?:u8|u|U|L)?R"([^(\s]*)\(', line[i:])
            if m and (i == 0 or not (line[i - 1].isalnum() or line[i - 1] == "_")):
                state = ("raw", m.group(1))
                i += m.end()
                continue
            if c in "\"'":
                if c == "'" and i > 0 and line[i - 1].isalnum() and re.search(r"\b\d[\w']*$", line[:i]):
                    i += 1  # digit separator
                    continue
                k = i + 1
                while k < n and line[k] != c:
                    k += 2 if line[k] == "\\" else 1
                for j in range(i + 1, min(k, n)):
                    chars[j] = " "
                i = k + 1
                continue
            i += 1
        out.append("".join(chars))
    return out


TOKEN = re.compile(r"\s*(?:(?P<num>\d[\w'.]*)|(?P<id>[A-Za-z_]\w*)|(?P<str>\"[^\"]*\"|'[^']*')|(?P<p>"
                   + "|".join(re.escape(p) for p in PUNCT) + r")|(?P<other>\S))")


def tokens(code):
    """(kind, text, column) for each token of a blanked code line."""
    pos = 0
    result = []
    while pos < len(code):
        m = TOKEN.match(code, pos)
        if not m or m.end() == pos:
            break
        pos = m.end()
        for kind in ("num", "id", "str", "p", "other"):
            if m.group(kind) is not None:
                result.append((kind, m.group(kind), m.start(kind)))
                break
    return result


def is_operand(tok):
    kind, text, _ = tok
    if kind == "id":
        return text not in KEYWORDS_NOT_OPERAND
    return kind in ("num", "str") or text in (")", "]")


def spaced(code, col, width):
    return col > 0 and code[col - 1] == " " and col + width < len(code) and code[col + width] == " "


def sites(path, text):
    """Every candidate mutant of one file."""
    lines = text.split("\n")
    code = code_lines(text)
    seen = {}
    found = []
    prev_end = ";"
    for idx, (line, c) in enumerate(zip(lines, code)):
        line_occ = seen.get(line, 0)
        seen[line] = line_occ + 1
        toks = tokens(c)
        counts = {}

        def add(kind, tok, occ, to):
            found.append({"file": path, "kind": kind, "line": line, "line_occurrence": line_occ,
                          "token": tok, "occurrence": occ, "to": to, "lineno": idx + 1})

        for t_i, (kind, text_, col) in enumerate(toks):
            occ = counts.get(text_, 0)
            counts[text_] = occ + 1
            prev = toks[t_i - 1] if t_i else None
            if kind == "p" and text_ in RELATIONAL:
                # < and > only as binary operators written with a space each side:
                # template angle brackets never are.
                if text_ in ("<", ">") and not (spaced(c, col, 1) and prev and is_operand(prev)):
                    continue
                add("relational", text_, occ, RELATIONAL[text_])
            elif kind == "p" and text_ in ARITHMETIC:
                # Binary only: a space each side and an operand before (not unary minus,
                # not a pointer or reference declarator).
                if spaced(c, col, 1) and prev and is_operand(prev) and not (
                        text_ == "*" and prev[0] == "id" and t_i == 1):
                    add("arithmetic", text_, occ, ARITHMETIC[text_])
            elif kind == "num" and re.fullmatch(r"(0|[1-9]\d*)[uUlL]*", text_):
                if prev and prev[1] in ("[", "operator"):
                    continue  # array sizes
                value = int(re.match(r"\d+", text_).group())
                add("constant", text_, occ, None)  # +1 or -1 chosen when drawn
            elif kind == "id" and text_ == "if":
                nxt = toks[t_i + 1] if t_i + 1 < len(toks) else None
                if not nxt or nxt[1] != "(":
                    continue  # if constexpr, or a condition on the next line
                depth, end = 0, None
                for k in range(t_i + 1, len(toks)):
                    if toks[k][1] in ("(", "["):
                        depth += 1
                    elif toks[k][1] in (")", "]"):
                        depth -= 1
                        if depth == 0:
                            end = k
                            break
                    elif toks[k][1] in (";", "=") and depth == 1:
                        break  # init-statement or declaration in the condition
                if end is not None:
                    add("invert", "if", occ, None)
        stripped = c.strip()
        if stripped:
            if (prev_end in (";", "{", "}") and stripped.endswith(";") and toks
                    and toks[0][1] not in STATEMENT_KEYWORDS
                    and re.match(r"^(\+\+|--|\*)?[A-Za-z_][\w:.\[\]>-]*(\s*(=|\+=|-=|\*=|/=|%=|\|=|&=|\^=|"
                                 r"<<=|>>=)\s|\(|\+\+|--)", stripped)
                    and not re.match(r"^[A-Za-z_][\w:]*<", stripped)
                    and balanced(stripped)):
                add("remove", "", 0, None)
            prev_end = stripped[-1]
    return found


def balanced(s):
    depth = 0
    for ch in s:
        depth += ch in "([{"
        depth -= ch in ")]}"
        if depth < 0:
            return False
    return depth == 0


def core_files(root):
    result = []
    for d, _, files in os.walk(os.path.join(root, "src", "core")):
        for f in files:
            if f.endswith(".cpp"):
                rel = os.path.relpath(os.path.join(d, f), root)
                if rel not in EXCLUDED:
                    result.append(rel)
    return sorted(result)


def draw(root):
    by_kind = {k: [] for k in QUOTAS}
    for rel in core_files(root):
        with open(os.path.join(root, rel), encoding="utf-8") as f:
            for s in sites(rel, f.read()):
                by_kind[s["kind"]].append(s)
    rng = random.Random(SEED)
    chosen = []
    for kind in QUOTAS:
        pool = by_kind[kind]
        print(f"{kind}: {len(pool)} sites, drawing {QUOTAS[kind]}")
        for s in rng.sample(pool, QUOTAS[kind]):
            if kind == "constant":
                value = int(re.match(r"\d+", s["token"]).group())
                suffix = s["token"][len(str(value)):]
                delta = 1 if value == 0 else rng.choice((1, -1))
                s["to"] = str(value + delta) + suffix
            chosen.append(s)
    chosen.sort(key=lambda s: (s["file"], s["lineno"]))
    for i, s in enumerate(chosen, 1):
        s["id"] = f"M{i:03d}"
    return chosen


# ---------------------------------------------------------------- applying

def describe(m):
    if m["kind"] == "remove":
        return "line removed"
    if m["kind"] == "invert":
        return "if (c) -> if (!(c))"
    return f"{m['token']} -> {m['to']}"


def mutated_text(root, m):
    """The file's text with the mutant applied, or None when its line is gone."""
    with open(os.path.join(root, m["file"]), encoding="utf-8") as f:
        text = f.read()
    lines = text.split("\n")
    hits = [i for i, l in enumerate(lines) if l == m["line"]]
    if len(hits) <= m["line_occurrence"]:
        return None, text
    idx = hits[m["line_occurrence"]]
    code = code_lines(text)[idx]
    line = lines[idx]
    if m["kind"] == "remove":
        lines[idx] = ""
        return "\n".join(lines), text
    same = [t for t in tokens(code) if t[1] == m["token"]]
    if len(same) <= m["occurrence"]:
        return None, text
    _, tok, col = same[m["occurrence"]]
    if m["kind"] == "invert":
        toks = tokens(code)
        start = next(k for k, t in enumerate(toks) if t[2] == col)
        depth = 0
        for k in range(start + 1, len(toks)):
            depth += toks[k][1] in ("(", "[")
            depth -= toks[k][1] in (")", "]")
            if depth == 0:
                close = toks[k][2]
                break
        else:
            return None, text
        open_ = toks[start + 1][2]
        line = line[:open_ + 1] + "!(" + line[open_ + 1:close] + ")" + line[close:]
    else:
        line = line[:col] + m["to"] + line[col + len(tok):]
    lines[idx] = line
    return "\n".join(lines), text


class Restorer:
    """Puts a mutated file back, also after Ctrl+C or a kill, and on the next start
    after anything harder (the journal in the build dir)."""

    def __init__(self, build):
        self.journal = os.path.join(build, "mutation-journal.json")
        self.pending = None
        self.recover()

    def recover(self):
        if os.path.exists(self.journal):
            with open(self.journal, encoding="utf-8") as f:
                j = json.load(f)
            write(j["path"], j["text"])
            print(f"restored {j['path']} left mutated by an interrupted run")
            os.remove(self.journal)

    def apply(self, path, original, mutated):
        with open(self.journal, "w", encoding="utf-8") as f:
            json.dump({"path": path, "text": original}, f)
        self.pending = (path, original)
        write(path, mutated)

    def restore(self):
        if self.pending:
            write(*self.pending)
            self.pending = None
            os.remove(self.journal)


def write(path, text):
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


def run_cmd(cmd, cwd, timeout, log):
    """Return code, or "timeout"; the whole process group goes on a timeout."""
    env = dict(os.environ, LC_ALL="C.UTF-8")
    with open(log, "w") as out:
        p = subprocess.Popen(["nice", "-n", "15"] + cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT,
                             env=env, start_new_session=True)
        try:
            return p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            return "timeout"
        except BaseException:
            os.killpg(p.pid, signal.SIGKILL)
            p.wait()
            raise


def configure(build):
    if os.path.exists(os.path.join(build, "build.ninja")):
        return
    subprocess.check_call(["nice", "-n", "15", "cmake", "-S", ROOT, "-B", build, "-G", "Ninja",
                           "-DCMAKE_BUILD_TYPE=None", "-DCMAKE_CXX_FLAGS=-O0",
                           "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache", "-DMIROLAT_BUILD_UI=OFF",
                           "-DMIROLAT_BUILD_BENCH=OFF", "-DMIROLAT_FUZZ=OFF", "-DMIROLAT_SANITIZE=OFF"])


def build_and_test(build, timeout, logs, tag):
    # The core tests kill most mutants, so they are built and run first; the
    # command line and its tests are built only for a mutant they let live.
    tests = os.path.join(build, "tests")
    steps = (("core_tests", ["core_tests"]), ("cli_tests", ["cli_tests", "mirolat-cli"]))
    for prog, targets in steps:
        rc = run_cmd(["cmake", "--build", build, "-j2", "--target"] + targets,
                     ROOT, 1800, os.path.join(logs, f"{tag}.{prog}.build.log"))
        if rc != 0:
            return "not built", ""
        rc = run_cmd([os.path.join(tests, prog), "--gtest_fail_fast", "--gtest_brief=1"], tests, timeout,
                     os.path.join(logs, f"{tag}.{prog}.log"))
        if rc == "timeout":
            return "timeout", prog
        if rc != 0:
            with open(os.path.join(logs, f"{tag}.{prog}.log"), errors="replace") as f:
                failed = re.findall(r"^\[  FAILED  \] (\S+)", f.read(), re.M)
            return "killed", prog + (": " + failed[0] if failed else f" (exit {rc})")
    return "survived", ""


def load_equivalent():
    eq = {}
    if os.path.exists(EQUIVALENT):
        with open(EQUIVALENT, encoding="utf-8") as f:
            for line in f:
                m = re.match(r"\s*(M\d+)\s+(.*)", line)
                if m:
                    eq[m.group(1)] = m.group(2).strip()
    return eq


def summarise(results, eq):
    counts = {}
    for r in results:
        counts[r["result"]] = counts.get(r["result"], 0) + 1
    killed = sum(1 for r in results if r["result"] in ("killed", "timeout") and r["id"] not in eq)
    survived = sum(1 for r in results if r["result"] == "survived" and r["id"] not in eq)
    equiv = sum(1 for r in results if r["result"] in ("killed", "timeout", "survived") and r["id"] in eq)
    rate = 100.0 * killed / (killed + survived) if killed + survived else 0.0
    return counts, killed, survived, equiv, rate


def report(results, eq, prefix, header):
    counts, killed, survived, equiv, rate = summarise(results, eq)
    out = [header, ""]
    out.append(f"{'result':<12}{'mutants':>8}")
    for k in ("killed", "timeout", "survived", "not built", "gone"):
        out.append(f"{k:<12}{counts.get(k, 0):>8}")
    out.append(f"{'total':<12}{len(results):>8}")
    out.append("")
    out.append(f"equivalent (equivalent.txt, left out of the rate): {equiv}")
    out.append(f"kill rate = killed / (built, not equivalent) = {killed} / {killed + survived} = {rate:.1f} %")
    out.append("")
    for r in results:
        mark = " (equivalent)" if r["id"] in eq else ""
        out.append(f"{r['id']}  {r['result']:<9}{mark} {r['file']}:{r.get('lineno', '?')}  {r['kind']}: "
                   f"{r['change']}  {r['detail']}")
        out.append(f"        {r['line'].strip()}")
    text = "\n".join(out) + "\n"
    with open(prefix + ".txt", "w", encoding="utf-8") as f:
        f.write(text)
    with open(prefix + ".json", "w", encoding="utf-8") as f:
        json.dump({"header": header, "kill_rate": round(rate, 1), "killed": killed, "survived": survived,
                   "equivalent": equiv, "counts": counts, "mutants": results}, f, indent=1)
    return text


def git_head():
    try:
        return subprocess.check_output(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], text=True).strip()
    except (OSError, subprocess.CalledProcessError):
        return "?"


def cmd_run(args):
    with open(SAMPLE, encoding="utf-8") as f:
        sample = json.load(f)
    ids = set(args.ids)
    if args.only_survivors_of:
        with open(args.only_survivors_of, encoding="utf-8") as f:
            ids |= {r["id"] for r in json.load(f)["mutants"] if r["result"] == "survived"}
    if ids:
        sample = [m for m in sample if m["id"] in ids]
    if args.start_at:
        sample = [m for m in sample if m["id"] >= args.start_at]
    build = os.path.abspath(args.build_dir or os.path.join(ROOT, "build-mutation"))
    os.makedirs(build, exist_ok=True)
    configure(build)
    logs = os.path.join(build, "mutation-logs")
    os.makedirs(logs, exist_ok=True)
    restorer = Restorer(build)
    signal.signal(signal.SIGTERM, lambda *_: (_ for _ in ()).throw(KeyboardInterrupt()))
    if not args.no_baseline:
        result, detail = build_and_test(build, args.timeout * 3, logs, "baseline")
        if result != "survived":
            sys.exit(f"the unmutated tree does not pass ({result} {detail}); see {logs}/baseline.*")
        print("baseline: the unmutated tree builds and passes")
    eq = load_equivalent()
    results = []
    try:
        for m in sample:
            start = time.time()
            path = os.path.join(ROOT, m["file"])
            mutated, original = mutated_text(ROOT, m)
            r = {k: m[k] for k in ("id", "file", "kind", "line")}
            r["change"] = describe(m)
            if mutated is None:
                r.update(result="gone", detail="its line is no longer in the file")
            else:
                hits = [i for i, l in enumerate(original.split("\n")) if l == m["line"]]
                r["lineno"] = hits[m["line_occurrence"]] + 1
                restorer.apply(path, original, mutated)
                try:
                    r["result"], r["detail"] = build_and_test(build, args.timeout, logs, m["id"])
                finally:
                    restorer.restore()
            r["seconds"] = round(time.time() - start)
            results.append(r)
            print(f"{m['id']} {r['result']:<9} {r['seconds']:>4}s {m['file']}:{r.get('lineno', '?')} "
                  f"{m['kind']} {r['change']} {r['detail']}", flush=True)
    except KeyboardInterrupt:
        print("interrupted; the tree is restored, the report covers the mutants run so far")
    header = (f"Mirolat mutation run, {datetime.date.today()}, commit {git_head()}, "
              f"{len(results)} of {len(sample)} mutants")
    prefix = args.report or os.path.join(build, "mutation-report")
    print(report(results, eq, prefix, header))
    print(f"written: {prefix}.txt and {prefix}.json")


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    sub = ap.add_subparsers(dest="cmd", required=True)
    d = sub.add_parser("draw", help="draw the sample into sample.json (overwrites it)")
    d.add_argument("--sites", action="store_true", help="only count the candidate sites")
    sub.add_parser("list", help="show the sample and whether each mutant still applies")
    r = sub.add_parser("run", help="run the sample (or the given ids)")
    r.add_argument("ids", nargs="*")
    r.add_argument("--only-survivors-of", metavar="REPORT.json")
    r.add_argument("--report", metavar="PREFIX")
    r.add_argument("--build-dir")
    r.add_argument("--timeout", type=int, default=120)
    r.add_argument("--no-baseline", action="store_true", help="skip checking the unmutated tree first")
    r.add_argument("--start-at", metavar="ID", help="skip the mutants before this id (to finish a cut-short run)")
    s = sub.add_parser("summary", help="merge reports (later ones win) and count again with today's equivalent.txt")
    s.add_argument("reports", nargs="+", metavar="REPORT.json")
    s.add_argument("--report", metavar="PREFIX", required=True)
    args = ap.parse_args()
    if args.cmd == "draw":
        chosen = draw(ROOT)
        if not args.sites:
            with open(SAMPLE, "w", encoding="utf-8") as f:
                f.write("[\n" + ",\n".join(json.dumps({k: s[k] for k in (
                    "id", "file", "kind", "line", "line_occurrence", "token", "occurrence", "to")})
                    for s in chosen) + "\n]\n")
            print(f"{len(chosen)} mutants written to {SAMPLE}")
    elif args.cmd == "list":
        with open(SAMPLE, encoding="utf-8") as f:
            for m in json.load(f):
                mutated, original = mutated_text(ROOT, m)
                if mutated is None:
                    print(f"{m['id']} gone     {m['file']} {m['kind']}: {describe(m)}\n  - {m['line'].strip()}")
                    continue
                new = [l for l, o in zip(mutated.split("\n"), original.split("\n")) if l != o]
                print(f"{m['id']} applies  {m['file']} {m['kind']}: {describe(m)}\n  - {m['line'].strip()}"
                      f"\n  + {new[0].strip() if new else ''}")
    elif args.cmd == "summary":
        merged = {}
        headers = []
        for path in args.reports:
            with open(path, encoding="utf-8") as f:
                j = json.load(f)
            headers.append(j["header"])
            for r in j["mutants"]:
                merged[r["id"]] = r
        results = [merged[k] for k in sorted(merged)]
        print(report(results, load_equivalent(), args.report, "\n".join(headers)))
    else:
        cmd_run(args)


if __name__ == "__main__":
    main()
