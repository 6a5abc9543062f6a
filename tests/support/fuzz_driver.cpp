// Runs a fuzz target without libFuzzer: over the files named on the command line, or else over
// a fixed batch of generated inputs (random bytes and random mixes of JSON and HTML tokens).
#include <cstddef>
#include <cstdint>
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
} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    if (argc > 1) {
        return 0;
    }
    std::mt19937 rng(20261210);
    for (int i = 0; i < 20000; ++i) {
        const std::string input = generated(rng);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    return 0;
}
