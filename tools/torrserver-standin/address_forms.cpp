#include "address_forms.h"

#include <cctype>
#include <string_view>

namespace torrserver {

AddressForms addressFormsOf(const std::string& version) {
    constexpr std::string_view kPrefix = "1.1.";
    if (version.rfind(kPrefix, 0) != 0) {
        return AddressForms::V1177;
    }
    int number = 0;
    std::size_t i = kPrefix.size();
    for (; i < version.size() && std::isdigit(static_cast<unsigned char>(version[i])) != 0 &&
           number < 1000;
         ++i) {
        number = number * 10 + (version[i] - '0');
    }
    return i > kPrefix.size() && number < 77 ? AddressForms::V1176 : AddressForms::V1177;
}

} // namespace torrserver
