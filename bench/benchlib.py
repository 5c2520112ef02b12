"""Shared pieces of the benchmark scripts in bench/: the release build of
salvor-cli, the large volumes cached in /var/tmp/salvor-bench (outside the
repository), and the measuring functions each script prints in its own way.

Every measurement runs the command under /usr/bin/time -v, after one warm-up
run that fills the page cache, and keeps the median wall time and the largest
peak resident memory of the timed runs.
"""
import hashlib
import lzma
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = "/var/tmp/salvor-bench"
TMPFS = "/dev/shm"
MiB = 1 << 20

# name, path, files, folders, size in MiB (tools/make-large-volume)
TREE_LARGE = ("large", os.path.join(CACHE, "tree-210k.img"), 200000, 10000, 4096)
TREE_SMALL = ("small", os.path.join(CACHE, "large-volume.img"), 60000, 300, 1024)
LOST_4G = os.path.join(CACHE, "lost-partitions-4g.img")
LARGE_FILES = os.path.join(CACHE, "large-files.img")

PEERS = {"fls": "sleuthkit", "tsk_recover": "sleuthkit", "mmls": "sleuthkit",
         "ntfsundelete": "ntfs-3g", "mkntfs": "ntfs-3g", "testdisk": "testdisk",
         "photorec": "testdisk", "foremost": "foremost"}


def repetitions(default):
    """The value of --repetitions N on the command line, else default."""
    if "--repetitions" in sys.argv:
        return int(sys.argv[sys.argv.index("--repetitions") + 1])
    return default


def need_packages(tools=tuple(PEERS)):
    """Installs the Debian packages of the peers that are missing."""
    missing = sorted({PEERS[t] for t in tools if not shutil.which(t)})
    if not os.path.exists("/usr/bin/time"):
        missing.append("time")
    if missing:
        subprocess.run(["apt-get", "install", "-y", "-qq", *missing], check=True,
                       env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))


def release_build(default_folder, targets=("salvor-cli",)):
    """Configures (once) and builds a release tree; returns its folder.
    SALVOR_BENCH_BUILD names another folder."""
    build = os.environ.get("SALVOR_BENCH_BUILD", os.path.join(ROOT, "build", default_folder))
    if not os.path.exists(os.path.join(build, "build.ninja")):
        subprocess.run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=Release", "-DSALVOR_BUILD_GUI=OFF",
                        "-DSALVOR_BUILD_BENCH=" + ("ON" if any(t.startswith("bench_") for t in targets)
                                                   else "OFF"),
                        # GCC's -O3 restrict analysis misfires on std::string copies.
                        "-DCMAKE_CXX_FLAGS=-Wno-error=restrict"],
                       check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", *targets, "-j2"], check=True,
                   stdout=subprocess.DEVNULL)
    return build


def salvor_cli(default_folder):
    return os.path.join(release_build(default_folder), "bin", "salvor-cli")


# ---------------------------------------------------------------- measuring

class Run:
    """One measured command: median wall seconds, peak RSS in KiB over the
    timed runs, and the standard output of the last run."""

    def __init__(self, seconds, rss_kib, output):
        self.seconds, self.rss_kib, self.output = seconds, rss_kib, output

    @property
    def rss_mib(self):
        return self.rss_kib / 1024


def run_once(cmd, env=None, cwd=None, timeout=None, capture=True):
    """Wall seconds, peak RSS in KiB (the largest process of the tree) and
    standard output of one run; exits on failure."""
    if isinstance(cmd, str):
        cmd = ["sh", "-c", cmd]
    start = time.perf_counter()
    p = subprocess.run(["/usr/bin/time", "-v", *cmd], env=env, cwd=cwd, timeout=timeout,
                       stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
                       stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    err = p.stderr.decode(errors="replace")
    if p.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed ({p.returncode}):\n{err[-2000:]}")
    rss = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", err).group(1))
    return wall, rss, p.stdout if capture else b""


def measure(cmd, reps, before=None, warm=True, **kw):
    """Median over reps runs after one warm-up run; before() runs ahead of
    every run (to clear an output folder)."""
    runs = []
    for i in range(reps + (1 if warm else 0)):
        if before:
            before()
        r = run_once(cmd, **kw)
        if i or not warm:
            runs.append(r)
    return Run(statistics.median(r[0] for r in runs), max(r[1] for r in runs), runs[-1][2])


def sequential_read(path, reps):
    """The floor every whole-image pass is held against: cat from the page cache."""
    return measure(f"cat '{path}' > /dev/null", reps, capture=False)


def tree_size(folder):
    files = size = 0
    for base, _, names in os.walk(folder):
        for n in names:
            files += 1
            size += os.lstat(os.path.join(base, n)).st_size
    return files, size


def clear(path):
    if os.path.isdir(path):
        shutil.rmtree(path)
    elif os.path.exists(path):
        os.remove(path)


def scratch_env():
    """An environment whose TEMP is a fresh folder (salvor-cli keeps its
    scan databases there)."""
    return dict(os.environ, TEMP=tempfile.mkdtemp(prefix="salvor-bench-db-"))


# ---------------------------------------------------------------- fixtures

def tree_volume(volume):
    name, path, files, folders, size = volume
    if not os.path.exists(path):
        print(f"building the {name} volume ({files} files, {folders} folders)...", flush=True)
        os.makedirs(CACHE, exist_ok=True)
        subprocess.run([os.path.join(ROOT, "tools", "make-large-volume"), path, str(files),
                        str(folders), str(size)], check=True)
    return path


def lost_partitions_4g():
    """The lost-partition fixture followed by zeros up to 4 GiB, so that a
    search meets boot sectors and MFT copies as well as empty sectors."""
    size = 4 << 30
    if os.path.exists(LOST_4G) and os.path.getsize(LOST_4G) == size:
        return LOST_4G
    os.makedirs(CACHE, exist_ok=True)
    with lzma.open(os.path.join(ROOT, "samples", "lost-partitions.img.xz")) as src, \
            open(LOST_4G + ".tmp", "wb") as out:
        out.write(src.read())
        out.truncate(size)
    os.replace(LOST_4G + ".tmp", LOST_4G)
    return LOST_4G


def large_files():
    """A 1 GiB volume holding eight 100 MiB files of random bytes."""
    if os.path.exists(LARGE_FILES):
        return LARGE_FILES
    os.makedirs(CACHE, exist_ok=True)
    tmp = LARGE_FILES + ".tmp"
    with open(tmp, "wb") as f:
        f.truncate(1 << 30)
    subprocess.run(["mkntfs", "-F", "-Q", "-q", "-c", "4096", tmp], check=True)
    point = tempfile.mkdtemp(prefix="salvor-mnt-")
    try:
        subprocess.run(["ntfs-3g", tmp, point], check=True)
        block = os.urandom(1 << 20)
        for i in range(8):
            with open(os.path.join(point, "big%d.bin" % i), "wb") as f:
                for _ in range(100):
                    f.write(block)
    finally:
        subprocess.run(["fusermount", "-u", point], check=False)
        os.rmdir(point)
    os.rename(tmp, LARGE_FILES)
    return LARGE_FILES


def carving_image(size_mib, files):
    """bench/carve-bench-image's image of files planted in filler, cached
    with its manifest."""
    # The builder's own text names the image, so that a changed set of files
    # is not read from an older cached image.
    with open(os.path.join(ROOT, "bench", "carve-bench-image"), "rb") as f:
        version = hashlib.sha256(f.read()).hexdigest()[:8]
    path = os.path.join(CACHE, f"carve-random-{size_mib}m-{files}-{version}.img")
    if not os.path.exists(path + ".manifest"):
        os.makedirs(CACHE, exist_ok=True)
        subprocess.run([os.path.join(ROOT, "bench", "carve-bench-image"), path, str(size_mib),
                        str(files)], check=True)
    return path


# ---------------------------------------------------------------- the jobs

def mft_walk(exe, image, reps, env=None):
    """salvor-cli ls --json beside fls -r -p and ntfsundelete --scan."""
    return {
        "salvor": measure([exe, "ls", "--json", image], reps, env=env or scratch_env()),
        "fls": measure(["fls", "-r", "-p", image], reps),
        "ntfsundelete": measure(["ntfsundelete", "--scan", "--force", image], reps),
    }


def thorough_search(exe, image, reps, testdisk=True):
    """The thorough partition search beside cat and TestDisk's deeper search."""
    out = {"cat": sequential_read(image, reps),
           "salvor": measure([exe, "partitions", image, "--search", "thorough"], reps,
                             capture=False)}
    if testdisk:
        work = tempfile.mkdtemp(prefix="salvor-testdisk-")
        try:
            out["testdisk"] = measure(["testdisk", "/log", "/cmd", image, "analyze,search"], 1,
                                      warm=False, cwd=work, timeout=1800, capture=False)
        except (OSError, subprocess.SubprocessError) as e:
            print(f"testdisk: not measured ({e.__class__.__name__})", file=sys.stderr)
        shutil.rmtree(work, ignore_errors=True)
    return out


def turbo_scan(exe, image, reps, env=None):
    """salvor-cli ls --turbo beside cat."""
    return {"cat": sequential_read(image, reps),
            "salvor": measure([exe, "--json", "ls", "--turbo", image], reps,
                              env=env or scratch_env(), capture=False)}


def recover_large_files(exe, image, reps):
    """salvor-cli recover into a tmpfs beside cat of the whole image into it.
    Returns the runs and (files, bytes) saved."""
    out = os.path.join(TMPFS, "salvor-bench-out")
    copy = measure(f"cat '{image}' > '{out}'", reps, before=lambda: clear(out), capture=False)
    rec = measure([exe, "recover", image, "--out", out], reps, before=lambda: clear(out),
                  capture=False)
    saved = tree_size(out)
    clear(out)
    return {"cat": copy, "salvor": rec}, saved


def recover_whole_volume(exe, image, reps):
    """salvor-cli recover beside tsk_recover -a, both into a tmpfs. Returns
    the runs and (files, bytes) each saved."""
    out = os.path.join(TMPFS, "salvor-bench-out")
    rec = measure([exe, "recover", image, "--out", out], reps, before=lambda: clear(out),
                  capture=False)
    ours = tree_size(out)
    tsk = measure(["tsk_recover", "-a", image, out], reps, before=lambda: clear(out),
                  capture=False)
    theirs = tree_size(out)
    clear(out)
    return {"salvor": rec, "tsk_recover": tsk}, {"salvor": ours, "tsk_recover": theirs}


def whole_files(folder, wanted):
    """How many of the wanted sha256 values (a list; repeats count) some
    file below folder has byte for byte, and how many files it holds."""
    import collections
    have = collections.Counter()
    for base, _, names in os.walk(folder):
        for n in names:
            if n in ("report.xml", "audit.txt"):  # the peers' own logs
                continue
            with open(os.path.join(base, n), "rb") as f:
                have[hashlib.sha256(f.read()).hexdigest()] += 1
    files = sum(have.values())
    found = 0
    for digest in wanted:
        if have[digest] > 0:
            have[digest] -= 1
            found += 1
    return found, files


def deflate_vs_zlib(build, reps):
    """bench/deflate-vs-zlib on its corpus: the figures it prints (sizes in
    bytes, speeds in MiB/s, the two ratios) and the run."""
    env = dict(os.environ, SALVOR_BENCH_BUILD=build, SALVOR_BENCH_REPETITIONS=str(reps))
    wall, rss, text = run_once([os.path.join(ROOT, "bench", "deflate-vs-zlib")], env=env)
    text = text.decode()

    def number(pattern):
        return float(re.search(pattern, text).group(1))
    figures = {"ours_bytes": number(r"ours\s+level 8\s+(\d+) bytes"),
               "ours_speed": number(r"ours\s+level 8\s+\d+ bytes\s+([\d.]+) MiB/s"),
               "zlib_bytes": number(r"zlib\s+level 8\s+(\d+) bytes"),
               "zlib_speed": number(r"zlib\s+level 8\s+\d+ bytes\s+([\d.]+) MiB/s"),
               "size_ratio": number(r"size ratio\s+([\d.]+)"),
               "speed_ratio": number(r"speed ratio\s+([\d.]+)")}
    return figures, Run(wall, rss, text)
