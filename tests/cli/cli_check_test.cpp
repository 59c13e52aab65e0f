// End-to-end runs of quillmark-cli check on good and bad sources.

#include <gtest/gtest.h>

#include <string>

#include "support/ff_sources.h"
#include "support/run_program.h"
#include "support/temp_folder.h"

namespace {

using qm::test::runProgram;
using qm::test::TempFolder;
using qm::test::writeFile;

TEST(CliCheck, PrintsEachErrorWithChannelAndColumn) {
  TempFolder dir;
  auto good = writeFile(dir / "good.afs", qm::test::afsSource("Good", "r/2+ctl(0)"));
  auto bad = writeFile(dir / "bad.afs", qm::test::afsSource("Bad", "r/*2"));
  auto text = writeFile(dir / "two.txt",
                        "Title: Two\r\nFilename: two.8bf\r\n\r\nR:r\r\n\r\nG:max(g,\r\n\r\n"
                        "B:b\r\n\r\nA:a+foo\r\n");
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string out;
    std::string errPart;
  } cases[] = {
      {{good.string()}, 0, "", ""},
      {{good.string(), bad.string()}, 1, bad.string() + ": R:3: expected a value\n", ""},
      {{text.string()},
       1,
       text.string() + ": G:7: unexpected end of formula\n" + text.string() +
           ": A:3: unknown name 'foo'\n",
       ""},
      {{(dir / "missing.afs").string(), good.string()}, 1, "", "No such file or directory"},
      {{}, 2, "", "give at least one FILTER"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.back());
    std::vector<std::string> args{"check"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    auto run = runProgram(QM_CLI, args);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, c.out);
    EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
  }
}

}  // namespace
