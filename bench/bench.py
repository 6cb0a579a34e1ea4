#!/usr/bin/env python3
"""Network transfer benchmark: whole KOLVEN sessions on generated power-flow files.

Builds KOLVEN (Release) and the file generator into their own build folder, generates power-flow
files of NB bus and NL branch lines, and runs whole sessions of the real binary (NG = 0, a
three-phase fault) several times each, beside `cat` of the same file and, where gfortran is
installed, a Fortran program that does the same read-and-rewrite loop through the Fortran
runtime's formatted I/O. Prints wall time (median, min, max), CPU time, lines per second,
megabytes per second, peak resident memory, the ratios between the three, the scaling from the
small to the large file, and checks the data file KOLVEN wrote against the Fortran program's.

    python3 bench/bench.py                    # build, then 10000/10000 and 99999/99999, 7 runs
    python3 bench/bench.py --binary PATH      # time that kolven binary instead of building one
    python3 bench/bench.py --micro            # also run the micro-benchmarks (kolven_micro)
    python3 bench/bench.py --profile          # also perf stat / perf record of the large session
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
BENCH = SOURCE / "bench"


def log(*args):
    print(*args, flush=True)


def run_checked(cmd, **kw):
    r = subprocess.run(cmd, **kw)
    if r.returncode != 0:
        sys.exit(f"bench: failed ({r.returncode}): {' '.join(map(str, cmd))}")
    return r


def build(build_dir, targets):
    if not (build_dir / "CMakeCache.txt").exists():
        generator = ["-G", "Ninja"] if shutil.which("ninja") else []
        run_checked(["cmake", "-S", SOURCE, "-B", build_dir, *generator,
                     "-DCMAKE_BUILD_TYPE=Release", "-DKOLVEN_BENCH=ON", "-DKOLVEN_TESTS=OFF"],
                    stdout=subprocess.DEVNULL)
    else:
        run_checked(["cmake", build_dir], stdout=subprocess.DEVNULL)
    run_checked(["cmake", "--build", build_dir, "-j", str(os.cpu_count() or 1),
                 "--target", *targets], stdout=subprocess.DEVNULL)


def session_text(din, dad, nb, nl):
    """The typed lines of a session: two pauses, the two names, then one line per screen."""
    return "".join([
        "\n",                                   # opening screen pause
        "\n",                                   # general instructions pause
        f"{din}\n",                             # power-flow file, without ".din"
        f"{dad}\n",                             # data file, without ".dad"
        f"BENCHMARK NB={nb} NL={nl}\n",         # case title
        f"{'':10}{nb:5d} {0:5d} {nl:5d}\n",     # NB 11-15, NG 17-21, NL 23-27
        f"{'':15}1\n",                          # disturbance option 2 (column 16): code 1
        f"{'':10}{'0.010':>7} {'2.000':>7}\n",  # DT 11-17, TIF 19-25
        f"{'':10}{1:4d} {1:4d} {2:4d} {'0.100':>7}\n",  # LF, JK, JKK, TCL
    ])


class Sample:
    def __init__(self, wall, cpu, rss_kb):
        self.wall, self.cpu, self.rss_kb = wall, cpu, rss_kb


# Peak resident memory is taken by /usr/bin/time, which forks the program from its own small
# process: a child forked from this Python process would carry Python's high-water mark through
# exec and report it as its own.
TIME = shutil.which("time", path="/usr/bin:/bin")


def timed(cmd, cwd, stdin_path=None, stdout_path=None):
    """Runs `cmd` once; its wall time, CPU time (user + system) and peak resident memory."""
    rss_file = Path(cwd) / ".rss"
    launch = [TIME, "-f", "%M", "-o", rss_file, *cmd] if TIME else list(cmd)
    stdin = open(stdin_path, "rb") if stdin_path else subprocess.DEVNULL
    stdout = open(stdout_path, "wb") if stdout_path else subprocess.DEVNULL
    try:
        start = time.perf_counter()
        p = subprocess.Popen(launch, cwd=cwd, stdin=stdin, stdout=stdout, stderr=subprocess.PIPE)
        stderr = p.stderr.read()
        _, status, usage = os.wait4(p.pid, 0)
        wall = time.perf_counter() - start
        p.returncode = os.waitstatus_to_exitcode(status)
        p.stderr.close()
    finally:
        if stdin_path:
            stdin.close()
        if stdout_path:
            stdout.close()
    if p.returncode != 0:
        sys.exit(f"bench: {cmd[0]} ended with status {p.returncode}: "
                 f"{stderr.decode(errors='replace')}")
    rss_kb = usage.ru_maxrss
    if TIME:
        rss_kb = int(rss_file.read_text().split()[-1])
    return Sample(wall, usage.ru_utime + usage.ru_stime, rss_kb)


class Case:
    """One network size and the work files of its runs."""

    def __init__(self, work, nb, nl):
        self.nb, self.nl = nb, nl
        self.stem = f"b{nb}" if nb == nl else f"b{nb}x{nl}"
        self.din = work / f"{self.stem}.din"
        self.dad_stem = f"o{nb}" if nb == nl else f"o{nb}x{nl}"
        self.dad = work / f"{self.dad_stem}.dad"
        self.session = work / f"{self.stem}.session"
        self.cat_out = work / f"{self.stem}.cat"
        self.fortran_out = work / f"{self.stem}.fortran"
        self.samples = {"KOLVEN": [], "cat": [], "Fortran": []}

    @property
    def lines(self):
        return max(self.nb, 0) + max(self.nl, 0)


def summary(samples):
    walls = [s.wall for s in samples]
    return {
        "median": statistics.median(walls),
        "min": min(walls),
        "max": max(walls),
        "cpu": statistics.median(s.cpu for s in samples),
        "rss_mb": max(s.rss_kb for s in samples) / 1024.0,
    }


def check_data_file(case, fortran):
    """Checks the data file of the last KOLVEN run: its line count, its line ends, its header
    records, and its barra/ramo records against the Fortran program's."""
    data = case.dad.read_bytes()
    problems = []
    if not data.endswith(b"\r\n"):
        problems.append("the last line has no CR LF")
    lines = data[:-2].split(b"\r\n") if data.endswith(b"\r\n") else data.split(b"\r\n")
    if any(b"\n" in line or b"\r" in line for line in lines):
        problems.append("a line end other than CR LF")
    expected = 6 + case.lines
    if len(lines) != expected:
        problems.append(f"{len(lines)} lines, expected 6 + NB + NL = {expected}")
    heads = [b"BENCHMARK", b"dimsist", b"tipfalt  1", b"tempo  0.0", b"locfalt  1"]
    for k, head in enumerate(heads):
        if k >= len(lines) or not lines[k].startswith(head):
            problems.append(f"line {k + 1} does not start with {head.decode()!r}")
    if len(lines) > 5 and lines[5] != b"":
        problems.append("line 6 is not empty")
    network = lines[6:6 + case.lines]
    if sum(1 for line in network[:case.nb] if line.startswith(b"barra")) != max(case.nb, 0):
        problems.append("not every bus record starts with 'barra'")
    if sum(1 for line in network[case.nb:] if line.startswith(b"ramo")) != max(case.nl, 0):
        problems.append("not every branch record starts with 'ramo'")
    compared = None
    if fortran and case.fortran_out.exists():
        reference = case.fortran_out.read_bytes().replace(b"\n", b"\r\n")
        mine = b"".join(line + b"\r\n" for line in network)
        compared = mine == reference
        if not compared:
            ref_lines = reference.split(b"\r\n")
            for k, (a, b) in enumerate(zip(network, ref_lines)):
                if a != b:
                    problems.append(f"record {k + 7} differs from the Fortran program's:\n"
                                    f"      KOLVEN  {a.decode(errors='replace')!r}\n"
                                    f"      Fortran {b.decode(errors='replace')!r}")
                    break
            else:
                problems.append("the Fortran program wrote a different number of records")
    return len(lines), len(data), compared, problems


def fmt_rate(x):
    return f"{x / 1e6:8.2f} M" if x >= 1e6 else f"{x / 1e3:8.1f} k"


def report(case, tools, start_up):
    din_bytes = case.din.stat().st_size
    out_bytes = {
        "KOLVEN": case.dad.stat().st_size,
        "cat": din_bytes,
        "Fortran": case.fortran_out.stat().st_size if case.fortran_out.exists() else 0,
    }
    log(f"\nNB = {case.nb}, NL = {case.nl}: {case.lines} lines, din {din_bytes / 1e6:.2f} MB, "
        f"dad {out_bytes['KOLVEN'] / 1e6:.2f} MB, {len(case.samples['KOLVEN'])} runs")
    log(f"  {'':8} {'median':>9} {'min':>9} {'max':>9} {'cpu':>9} {'lines/s':>11} "
        f"{'MB/s':>8} {'net/line':>9} {'peak RSS':>9}")
    s = {}
    for tool in tools:
        s[tool] = summary(case.samples[tool])
        m = s[tool]["median"]
        mb = (din_bytes + out_bytes[tool]) / 1e6 / m
        net = (m - start_up[tool]) / case.lines * 1e9 if case.lines else 0.0
        log(f"  {tool:8} {m * 1e3:7.1f}ms {s[tool]['min'] * 1e3:7.1f}ms "
            f"{s[tool]['max'] * 1e3:7.1f}ms {s[tool]['cpu'] * 1e3:7.1f}ms "
            f"{fmt_rate(case.lines / m):>9}/s {mb:8.1f} {net:7.0f}ns {s[tool]['rss_mb']:7.1f}MB")
    log(f"  KOLVEN / cat      {s['KOLVEN']['median'] / s['cat']['median']:7.2f}x  (median wall)")
    if "Fortran" in s:
        log(f"  Fortran / KOLVEN  {s['Fortran']['median'] / s['KOLVEN']['median']:7.2f}x  "
            f"(median wall; above 1: KOLVEN is faster)")
    return s


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--binary", type=Path, help="the kolven binary to time (default: build one)")
    ap.add_argument("--build-dir", type=Path, default=SOURCE / "build-bench")
    ap.add_argument("--work-dir", type=Path, help="folder for the generated files "
                    "(default: BUILD_DIR/bench-work)")
    ap.add_argument("--runs", type=int, default=7)
    ap.add_argument("--sizes", default="10000,99999",
                    help="NB = NL counts, comma-separated; or NBxNL (default 10000,99999)")
    ap.add_argument("--no-fortran", action="store_true")
    ap.add_argument("--micro", action="store_true", help="also run kolven_micro")
    ap.add_argument("--micro-args", default="", help="arguments for kolven_micro")
    ap.add_argument("--profile", action="store_true",
                    help="also perf stat and perf record of a session of the largest size")
    args = ap.parse_args()

    build_dir = args.build_dir.resolve()
    targets = ["make_din"] + ([] if args.binary else ["kolven"]) + (
        ["kolven_micro"] if args.micro else [])
    log(f"building {', '.join(targets)} in {build_dir} (Release)")
    build(build_dir, targets)
    kolven = args.binary.resolve() if args.binary else build_dir / "kolven"
    make_din = build_dir / "bench" / "make_din"
    work = (args.work_dir or build_dir / "bench-work").resolve()
    work.mkdir(parents=True, exist_ok=True)

    fortran = None
    if not args.no_fortran and shutil.which("gfortran"):
        fortran = build_dir / "bench" / "transfer"
        run_checked(["gfortran", "-O2", "-fno-sign-zero", "-o", fortran, BENCH / "transfer.f90"])
    elif not args.no_fortran:
        log("gfortran not found: no Fortran yardstick")
    tools = ["KOLVEN", "cat"] + (["Fortran"] if fortran else [])

    sizes = []
    for part in args.sizes.split(","):
        nb, _, nl = part.strip().partition("x")
        sizes.append((int(nb), int(nl or nb)))
    # The empty network first: its runs estimate the start-up time of every tool.
    cases = [Case(work, 0, 0)] + [Case(work, nb, nl) for nb, nl in sizes]
    for case in cases:
        run_checked([make_din, str(case.nb), str(case.nl), case.din])
        case.session.write_text(session_text(case.stem, case.dad_stem, case.nb, case.nl))

    load = os.getloadavg()
    head = subprocess.run(["git", "-C", SOURCE, "rev-parse", "--short", "HEAD"],
                          capture_output=True, text=True).stdout.strip()
    dirty = subprocess.run(["git", "-C", SOURCE, "diff", "--quiet", "HEAD", "--", "record",
                            "datagen", "main"], capture_output=True).returncode != 0
    log(f"kolven: {kolven} (source {head or '?'}"
        f"{', engine sources modified since it' if dirty else ''})")
    log(f"machine: {os.cpu_count()} CPUs, load average {load[0]:.2f} {load[1]:.2f} {load[2]:.2f}")
    log(f"runs per tool and size: {args.runs}, interleaved (KOLVEN, cat, Fortran)")

    for case in cases:
        for _ in range(args.runs):
            case.dad.unlink(missing_ok=True)  # a new data file: no overwrite question
            case.samples["KOLVEN"].append(
                timed([kolven], work, stdin_path=case.session))
            case.samples["cat"].append(
                timed(["cat", case.din], work, stdout_path=case.cat_out))
            if fortran:
                case.samples["Fortran"].append(
                    timed([fortran, case.din, case.fortran_out, str(case.nb), str(case.nl)],
                          work))

    start_up = {tool: summary(cases[0].samples[tool])["median"] for tool in tools}
    start_cpu = {tool: summary(cases[0].samples[tool])["cpu"] for tool in tools}
    log("\nstart-up (NB = NL = 0), median wall / cpu: " +
        ", ".join(f"{tool} {start_up[tool] * 1e3:.2f} / {start_cpu[tool] * 1e3:.2f} ms"
                  for tool in tools))
    stats = {}
    ok = True
    for case in cases[1:]:
        stats[(case.nb, case.nl)] = report(case, tools, start_up)
        count, size, same, problems = check_data_file(case, fortran)
        verdict = "ok" if not problems else "FAILED"
        log(f"  data file check: {verdict}: {count} lines (6 + NB + NL = {6 + case.lines}), "
            f"{size} bytes, CR LF line ends"
            + ("" if same is None else
               f"; barra/ramo records {'equal' if same else 'differ from'} the Fortran program's"))
        for problem in problems:
            log(f"    {problem}")
        ok = ok and not problems

    if len(cases) >= 3:
        small, large = cases[1], cases[-1]
        log(f"\nscaling {large.lines} lines / {small.lines} lines "
            f"(ideal {large.lines / small.lines:.2f}), less start-up:")
        log(f"  {'':8} {'wall':>7} {'cpu':>7}")
        for tool in tools:
            ratios = []
            for key, base in (("median", start_up), ("cpu", start_cpu)):
                a = stats[(small.nb, small.nl)][tool][key] - base[tool]
                b = stats[(large.nb, large.nl)][tool][key] - base[tool]
                ratios.append(b / a if a > 0 else float("nan"))
            log(f"  {tool:8} {ratios[0]:7.2f} {ratios[1]:7.2f}")

    if args.profile:
        profile(kolven, work, cases[-1])
    if args.micro:
        micro = build_dir / "bench" / "kolven_micro"
        log(f"\nmicro-benchmarks: {micro} {args.micro_args}")
        subprocess.run([micro, *args.micro_args.split()])
    if not ok:
        sys.exit(1)


def profile(kolven, work, case):
    if not shutil.which("perf"):
        log("\nperf not found: no profile")
        return
    log(f"\nprofile of a session with NB = {case.nb}, NL = {case.nl}")
    case.dad.unlink(missing_ok=True)
    with open(case.session, "rb") as stdin:
        r = subprocess.run(["perf", "stat", "-e", "task-clock,instructions,cycles,branch-misses,"
                            "cache-misses", "--", kolven], cwd=work, stdin=stdin,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    log("\n".join(line for line in r.stderr.splitlines() if line.strip()))
    case.dad.unlink(missing_ok=True)
    data = work / "perf.data"
    with open(case.session, "rb") as stdin:
        subprocess.run(["perf", "record", "-q", "-F", "4999", "-o", data, "--", kolven], cwd=work,
                       stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    r = subprocess.run(["perf", "report", "-i", data, "--stdio", "--no-children", "--sort",
                        "dso,symbol", "--percent-limit", "1"], capture_output=True, text=True)
    log("\n".join(line for line in r.stdout.splitlines()
                  if line.strip() and not line.startswith("#")))


if __name__ == "__main__":
    main()
