// Runs a fuzz target without libFuzzer: over the files (or every file of the folders) named on
// the command line, and over a fixed batch of generated inputs (random bytes and random mixes
// of JSON and HTML tokens) when no file is named or "--generated" is given.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
const char* const kTokens[] = {"{",      "}",        "[",     "]",       ",",        ":",
                               "\"",     "\\",       "\\u00", "null",    "true",     "false",
                               "-",      "1",        "0.5",   "e9",      "\"Name\"", "\"Files\"",
                               "<",      ">",        "</a>",  "href=\"", "&amp;",    "magnet:?",
                               "dn=id_", "\xD0\x9F", "\xFF",  " ",       "\r\n",     "\x00"};

std::string generated(std::mt19937& rng) {
    std::string out;
    const int pieces = static_cast<int>(rng() % 64);
    for (int i = 0; i < pieces; ++i) {
        if (rng() % 4 == 0) {
            out.push_back(static_cast<char>(rng() % 256));
        } else {
            out += kTokens[rng() % std::size(kTokens)];
        }
    }
    return out;
}

void runFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
} // namespace

int main(int argc, char** argv) {
    bool generatedToo = argc == 1;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (path == "--generated") {
            generatedToo = true;
        } else if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    runFile(entry.path());
                }
            }
        } else {
            runFile(path);
        }
    }
    if (!generatedToo) {
        return 0;
    }
    std::mt19937 rng(20261210);
    for (int i = 0; i < 20000; ++i) {
        const std::string input = generated(rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    return 0;
}
