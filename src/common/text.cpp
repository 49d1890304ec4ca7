#include "common/text.h"

#include <algorithm>
#include <cfenv>
#include <charconv>
#include <cmath>

namespace quarvelt {

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string TrimBlanks(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

double LeadingNumber(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        sign = text[i++] == '-' ? -1 : 1;
    double value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (text[i++] - '0');
    if (i < text.size() && text[i] == '.') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10)
            value += (text[i] - '0') * scale;
    }
    // An exponent counts only when digits follow it ("2e3" is 2000, "2e" is 2).
    if (i + 1 < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        double exponentSign = 1;
        if (text[j] == '-' || text[j] == '+')
            exponentSign = text[j++] == '-' ? -1 : 1;
        if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
            double exponent = 0;
            for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), 1000.0);
            value *= std::pow(10.0, exponentSign * exponent);
        }
    }
    return sign * value;
}

bool ParseNumber(const std::string& text, double& value) {
    const std::string number = TrimBlanks(text);
    size_t i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+'))
        ++i;
    const auto digits = [&] {
        const size_t start = i;
        while (i < number.size() && number[i] >= '0' && number[i] <= '9')
            ++i;
        return i - start;
    };
    size_t mantissa = digits();
    if (i < number.size() && number[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        if (i < number.size() && (number[i] == '-' || number[i] == '+'))
            ++i;
        if (digits() == 0)
            return false;
    }
    if (i != number.size())
        return false;
    // from_chars reads the checked text whatever the locale; it takes no "+".
    const size_t start = number[0] == '+' ? 1 : 0;
    const auto [end, error] =
        std::from_chars(number.data() + start, number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        const bool tiny = number.find_first_of("eE") != std::string::npos &&
                          number[number.find_first_of("eE") + 1] == '-';
        value = tiny ? 0.0 : (number[0] == '-' ? -HUGE_VAL : HUGE_VAL);
        return true;
    }
    return error == std::errc() && end == number.data() + number.size();
}

double RoundHalfEven(double value) {
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(value);
    std::fesetround(mode);
    return rounded;
}

int16_t CaptionNumber(const std::string& text) {
    return static_cast<int16_t>(std::clamp(RoundHalfEven(LeadingNumber(text)), -32768.0, 32767.0));
}

bool IsPlainFileName(const std::string& name) {
    if (name.find("..") != std::string::npos)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F || c == '/' || c == '\\' || c == ':';
    });
}

}  // namespace quarvelt
