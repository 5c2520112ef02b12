#include "support/carving_manifest.h"

#include <sstream>

#include "support/shell.h"
#include "support/test_paths.h"

namespace salvor::testing {

std::map<std::uint64_t, PlantedFile> AlignedCarvingFixtureFiles() {
  const auto listed = RunCommand(
      "python3 -c 'import json,sys\n"
      "for f in json.load(open(sys.argv[1]))[\"files\"]:\n"
      "  if f[\"aligned\"]: print(f[\"sector\"], f[\"length\"], f[\"sha256\"])' '" +
      (SamplesDir() / "carving-fixture.json").string() + "'");
  std::map<std::uint64_t, PlantedFile> planted;
  std::istringstream in(listed.output);
  std::uint64_t sector = 0;
  PlantedFile p;
  while (in >> sector >> p.length >> p.sha256) planted[sector] = p;
  return planted;
}

}  // namespace salvor::testing
