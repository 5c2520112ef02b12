// salvor-cli ls on the sample disk, run as the user runs it, compared with
// the disk's truth manifest.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor {
namespace {

namespace fs = std::filesystem;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const fs::path& p) {
  return "'" + p.string() + "'";
}

std::string ReadText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs salvor-cli with its scan database below `temp` (each test its own,
// so that tests may run side by side).
CliRun Ls(const fs::path& temp, const std::string& args) {
  const fs::path out = temp / "stdout";
  const fs::path err = temp / "stderr";
  std::string cmd = "TEMP=" + Quote(temp) + " " + Quote(testing::BinDir() / "salvor-cli") + " " +
                    args + " >" + Quote(out) + " 2>" + Quote(err);
  int raw = std::system(cmd.c_str());
  CliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadText(out);
  run.err = ReadText(err);
  return run;
}

fs::path SampleDisk() {
  return testing::SamplesDir() / "sample-disk.img";
}

// Compares the JSON Lines of `ls --json` with the manifest's entries of one
// volume: every entry whose record still holds its name is listed at its
// path (under "#n" when folder n's record is gone), with its record, parent,
// size and flags; a record with hard links is an entry under each of its
// names, each with the number of names as `links`; and
// nothing else is listed but the fixed entries, the lost folders and the
// system files of the reserved records. Prints "OK" or what is wrong.
const char* kCompare = R"PY(
import json, re, sys
manifest = json.load(open(sys.argv[1]))
vol = manifest["volumes"][int(sys.argv[3])]
lines = [json.loads(l) for l in open(sys.argv[2]) if l.strip()]
problems = []
keys = ["entry", "path", "size", "folder", "deleted", "flags", "record", "parent", "created",
        "accessed", "record_sector", "links"]
for o in lines:
    if list(o.keys()) != keys:
        problems.append("keys of %s: %s" % (o.get("path"), list(o.keys())))
    for k in ("created", "accessed"):
        if o[k] is not None and not re.fullmatch(r"\d{4}-\d\d-\d\d", o[k]):
            problems.append("%s of %s: %r" % (k, o["path"], o[k]))
by_path = {}
for o in lines:
    if o["path"] in by_path:
        problems.append("listed twice: " + o["path"])
    by_path[o["path"]] = o
if sorted(o["entry"] for o in lines) != list(range(1, len(lines) + 1)):
    problems.append("entry numbers are not 1..%d" % len(lines))

holder = {}
for e in vol["entries"]:
    if not e.get("record_reused") and e.get("name_in_record", True):
        holder.setdefault(e["mft_record"], e)
def expected_path(e):
    parts = [e["name"]]
    p = e["parent_record"]
    for _ in range(64):
        if p == 5:
            return " Root/" + "/".join(reversed(parts))
        h = holder.get(p)
        if h is None or not h["is_dir"]:
            return "#%d/" % p + "/".join(reversed(parts))
        parts.append(h["name"])
        p = h["parent_record"]
    return None

expected = set()
groups = {}
for e in vol["entries"]:
    if e.get("record_reused") or not e.get("name_in_record", True):
        continue  # the record no longer holds this entry's name
    if e["name"] == "$Boot":
        continue  # left out like the system file of that name
    groups.setdefault(e["mft_record"], []).append(e)
mft_sector = vol["mft_sector"]
for record, group in groups.items():
    found = [(expected_path(e), e) for e in group if expected_path(e) in by_path]
    if len(found) != len(group):
        problems.append("record %d listed %d times, want under each of %s" %
                        (record, len(found), [expected_path(e) for e in group]))
        continue
    for path, e in found:
        expected.add(path)
        o = by_path[path]
        want = {"record": e["mft_record"], "parent": e["parent_record"], "folder": e["is_dir"],
                "deleted": e["deleted"], "record_sector": mft_sector + 2 * e["mft_record"],
                "links": len(group)}
        if not e["is_dir"]:
            want["size"] = e["size"]
        for k, v in want.items():
            if o[k] != v:
                problems.append("%s: %s is %r, want %r" % (path, k, o[k], v))
        if bool(o["flags"] & 0x08) == e["deleted"] or bool(o["flags"] & 0x10) != e["is_dir"]:
            problems.append("%s: flags 0x%x" % (path, o["flags"]))
for o in lines:
    p = o["path"]
    if p in expected or p == " Root" or (re.fullmatch(r"#\d+", p) and o["folder"]) or o["record"] < 64:
        continue
    problems.append("not in the manifest: " + p)
print("\n".join(problems) if problems else "OK %d" % len(lines))
)PY";

std::string Compare(const fs::path& temp, const std::string& json_lines, int volume) {
  const fs::path script = temp / "compare.py";
  const fs::path listing = temp / "listing.json";
  std::ofstream(script) << kCompare;
  std::ofstream(listing, std::ios::binary) << json_lines;
  return testing::RunShell("python3 " + Quote(script) + " " +
                           Quote(testing::SamplesDir() / "sample-disk.json") + " " + Quote(listing) +
                           " " + std::to_string(volume))
      .output;
}

TEST(LsCommand, FirstVolumeListsTheManifest) {
  testing::ScratchDir dir;
  CliRun run = Ls(dir.path(), "ls " + Quote(SampleDisk()) + " --json");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  std::string verdict = Compare(dir.path(), run.out, 0);
  EXPECT_EQ(verdict.rfind("OK ", 0), 0u) << verdict;
  // Deleted files of the deleted folder whose record a new file took.
  EXPECT_NE(run.out.find("\"path\":\"#64/Drafts/draft-1.txt\""), std::string::npos);
}

TEST(LsCommand, SecondVolumeByNumberOrByStartSector) {
  testing::ScratchDir dir;
  CliRun by_number = Ls(dir.path(), "--json ls " + Quote(SampleDisk()) + " --volume 2");
  ASSERT_EQ(by_number.status, 0) << by_number.err;
  std::string verdict = Compare(dir.path(), by_number.out, 1);
  EXPECT_EQ(verdict.rfind("OK ", 0), 0u) << verdict;
  CliRun by_start = Ls(dir.path(), "ls " + Quote(SampleDisk()) + " --volume-start 73728 --json");
  ASSERT_EQ(by_start.status, 0) << by_start.err;
  EXPECT_EQ(by_start.out, by_number.out);
}

TEST(LsCommand, PlainListingHasOneLinePerEntry) {
  testing::ScratchDir dir;
  CliRun text = Ls(dir.path(), "ls " + Quote(SampleDisk()));
  ASSERT_EQ(text.status, 0) << text.err;
  CliRun json = Ls(dir.path(), "ls --json " + Quote(SampleDisk()));
  std::istringstream lines(text.out);
  std::string header, root, line;
  std::getline(lines, header);
  std::getline(lines, root);
  EXPECT_EQ(header.rfind("type", 0), 0u) << header;
  EXPECT_EQ(root,
            "folder  present             0  -           -                    5           0   Root");
  std::size_t count = 2;
  bool found_deleted = false;
  while (std::getline(lines, line)) {
    ++count;
    if (line.find("#64/plan.txt") != std::string::npos) {
      found_deleted = true;
      EXPECT_EQ(line.rfind("file    deleted           420  2023-05-14  2023-05-14          65"
                           "          64  #64/plan.txt",
                           0),
                0u)
          << line;
    }
  }
  EXPECT_TRUE(found_deleted);
  EXPECT_EQ(count - 1,
            static_cast<std::size_t>(std::count(json.out.begin(), json.out.end(), '\n')));
}

TEST(LsCommand, DatabaseLivesInAPrivateFolderOfTheUser) {
  testing::ScratchDir dir;
  CliRun run = Ls(dir.path(), "ls " + Quote(SampleDisk()));
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path folder = dir.path() / ("salvor-" + std::to_string(geteuid()));
  struct stat st {};
  ASSERT_EQ(lstat(folder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
  EXPECT_EQ(st.st_mode & 07777, 0700u);
  for (const char* name : {"NSE.VKT", "NSN.VKT", "NST.VKT"}) {
    EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_EQ(fs::file_size(folder / name) > 0, true) << name;
  }
  EXPECT_EQ(fs::file_size(folder / "NSE.VKT") % 44, 0u);
}

TEST(LsCommand, PlantedLinkForTheFolderIsRefused) {
  testing::ScratchDir dir;
  fs::create_directory(dir.path() / "elsewhere");
  fs::create_directory_symlink(dir.path() / "elsewhere",
                               dir.path() / ("salvor-" + std::to_string(geteuid())));
  CliRun run = Ls(dir.path(), "ls " + Quote(SampleDisk()));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("symbolic link"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_empty(dir.path() / "elsewhere"));
}

TEST(LsCommand, UnknownVolumesAreReported) {
  testing::ScratchDir dir;
  CliRun no_third = Ls(dir.path(), "ls " + Quote(SampleDisk()) + " --volume 3");
  EXPECT_EQ(no_third.status, 1);
  EXPECT_NE(no_third.err.find("has no volume 3 (it lists 2)"), std::string::npos) << no_third.err;
  CliRun no_boot = Ls(dir.path(), "ls " + Quote(SampleDisk()) + " --volume-start 5");
  EXPECT_EQ(no_boot.status, 1);
  EXPECT_NE(no_boot.err.find("Sector 5 "), std::string::npos) << no_boot.err;
  CliRun both = Ls(dir.path(), "ls " + Quote(SampleDisk()) + " --volume 2 --volume-start 2048");
  EXPECT_EQ(both.status, 2);
}

TEST(LsCommand, SingleVolumeImageWithLargeSectors) {
  testing::ScratchDir dir;
  CliRun run = Ls(dir.path(), "ls --json " + Quote(testing::SamplesDir() / "ntfs-4k-sectors.img"));
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("\"path\":\" Root/readme.txt\""), std::string::npos) << run.out;
}

}  // namespace
}  // namespace salvor
