// icongen OUT_DIR NAME: draws the desktop icon into OUT_DIR/<size>x<size>/apps/NAME.png for every size.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "tools/artgen/icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: icongen OUT_DIR NAME\n");
    return 2;
  }
  const std::string out = argv[1], name = argv[2];
  for (int size : artgen::kIconSizes) {
    const std::string dir = out + "/" + std::to_string(size) + "x" + std::to_string(size);
    for (const std::string& d : {out, dir, dir + "/apps"}) {
      if (mkdir(d.c_str(), 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "icongen: cannot create %s\n", d.c_str());
        return 1;
      }
    }
    const std::string path = dir + "/apps/" + name + ".png";
    if (!artgen::WriteIconPng(size, path)) {
      std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
