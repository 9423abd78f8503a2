// payloadtool: builds the payload that travels behind the installer's image.
//
//   payloadtool pack <payload> <file1> ... <file8>   one record per file, in record order
//   payloadtool append <image> <payload> <installer> image, padding to the payload offset, payload
//   payloadtool verify <installer>                   walks and inflates every record
//   payloadtool extract <installer> <folder>         inflates every record under its target name
#include "tools/payloadtool/PayloadBuild.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Usage() {
  std::cerr << "usage: payloadtool pack <payload> <file1> ... <file8>\n"
               "       payloadtool append <image> <payload> <installer>\n"
               "       payloadtool verify <installer>\n"
               "       payloadtool extract <installer> <folder>\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  const std::vector<std::filesystem::path> args(argv + 2, argv + argc);
  try {
    if (command == "pack" && args.size() >= 1) {
      PackPayload(args[0], std::vector<std::filesystem::path>(args.begin() + 1, args.end()));
    } else if (command == "append" && args.size() == 3) {
      AppendPayload(args[0], args[1], args[2]);
    } else if (command == "verify" && args.size() == 1) {
      VerifyInstaller(args[0], std::cout);
      std::cout << args[0].string() << ": payload complete\n";
    } else if (command == "extract" && args.size() == 2) {
      ExtractInstaller(args[0], args[1]);
    } else {
      return Usage();
    }
  } catch (const std::exception& e) {
    std::cerr << "payloadtool: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
