// manpage: writes orvane(1) into the file given on the command line, from
// the program's own option table, so that the manual lists exactly the
// options --help lists; the version is the one the package carries.

#include <cstdio>
#include <string>

#include "app/HelpCommand.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: manpage <output file> <version>\n");
    return 2;
  }
  const std::string target = argv[1];
  const std::string temporary = target + ".tmp";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  if (out == nullptr) {
    std::perror(temporary.c_str());
    return 1;
  }
  app::PrintManual(argv[2], out);
  const bool written = std::ferror(out) == 0;
  if (std::fclose(out) != 0 || !written || std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::perror(target.c_str());
    std::remove(temporary.c_str());
    return 1;
  }
  return 0;
}
