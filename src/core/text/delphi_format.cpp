#include "core/text/delphi_format.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/text/decimal_digits.h"

namespace wachtrix {
namespace {

constexpr int kDefaultGeneralPrecision = 15;

std::string NonFinite(long double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

std::string Pad(std::string text, int width, bool leftAlign) {
    if (static_cast<int>(text.size()) >= width) return text;
    const std::string blanks(width - text.size(), ' ');
    return leftAlign ? text + blanks : blanks + text;
}

[[noreturn]] void Fail(std::string_view format, const char* why) {
    throw std::invalid_argument(std::string("Format(\"") + std::string(format) + "\"): " + why);
}

}  // namespace

std::string ExponentSuffix(int exponent) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return std::string("E") + (exponent < 0 ? "-" : "+") + digits;
}

std::string FormatGeneral(long double value, int precision) {
    if (!std::isfinite(value)) return NonFinite(value);
    if (value == 0) return "0";
    if (precision < 1) precision = 1;
    const DecimalDigits d = RoundSignificant(value, precision);
    std::string_view digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0')
        digits.remove_suffix(1);
    const int count = static_cast<int>(digits.size());
    std::string out;
    out.reserve(static_cast<std::size_t>(count) + 24);
    if (d.negative) out += '-';
    const bool fixed = d.exponent >= -5 && d.exponent + 1 <= precision;
    if (!fixed) {
        out += digits[0];
        if (count > 1) {
            out += '.';
            out += digits.substr(1);
        }
        return out + ExponentSuffix(d.exponent);
    }
    if (d.exponent < 0) {
        out += "0.";
        out.append(-d.exponent - 1, '0');
        out += digits;
        return out;
    }
    const int integerDigits = d.exponent + 1;
    if (count <= integerDigits) {
        out += digits;
        out.append(integerDigits - count, '0');
        return out;
    }
    out += digits.substr(0, integerDigits);
    out += '.';
    out += digits.substr(integerDigits);
    return out;
}

std::string FormatExponent(long double value, int decimals) {
    if (!std::isfinite(value)) return NonFinite(value);
    const DecimalDigits d = RoundSignificant(value, decimals + 1);
    std::string out = d.negative ? "-" : "";
    out += d.digits.substr(0, 1);
    if (decimals > 0) out += "." + d.digits.substr(1);
    return out + ExponentSuffix(value == 0 ? 0 : d.exponent);
}

std::string FormatFixedPoint(long double value, int decimals) {
    if (!std::isfinite(value)) return NonFinite(value);
    return RenderFixed(RoundDecimals(value, decimals), decimals);
}

std::string Format(std::string_view format, std::initializer_list<FormatArg> args) {
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char ch = format[i];
        if (ch != '%') {
            out.push_back(ch);
            continue;
        }
        if (++i >= format.size()) Fail(format, "dangling %");
        if (format[i] == '%') {
            out.push_back('%');
            continue;
        }
        bool leftAlign = false;
        if (format[i] == '-') {
            leftAlign = true;
            ++i;
        }
        int width = 0;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            width = width * 10 + (format[i++] - '0');
        int precision = -1;
        if (i < format.size() && format[i] == '.') {
            precision = 0;
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                precision = precision * 10 + (format[i++] - '0');
        }
        if (i >= format.size()) Fail(format, "directive without conversion");
        if (next == args.end()) Fail(format, "too few arguments");
        const FormatArg& arg = *next++;
        const char conversion = format[i];
        std::string text;
        switch (conversion) {
            case 'd':
                if (arg.kind() != FormatArg::Kind::Integer) Fail(format, "%d needs an integer");
                text = std::to_string(arg.integer());
                break;
            case 's':
                if (arg.kind() != FormatArg::Kind::Text) Fail(format, "%s needs a text");
                text = std::string(arg.text());
                if (precision >= 0 && static_cast<int>(text.size()) > precision)
                    text.resize(precision);
                break;
            case 'g':
            case 'e':
            case 'f': {
                if (arg.kind() != FormatArg::Kind::Real)
                    Fail(format, "a real directive needs a real");
                const long double v = arg.real();
                if (conversion == 'g')
                    text = FormatGeneral(v, precision < 0 ? kDefaultGeneralPrecision : precision);
                else if (conversion == 'e')
                    text = FormatExponent(v, precision < 0 ? 6 : precision);
                else
                    text = FormatFixedPoint(v, precision < 0 ? 2 : precision);
                break;
            }
            default:
                Fail(format, "unknown conversion");
        }
        out += Pad(std::move(text), width, leftAlign);
    }
    if (next != args.end()) Fail(format, "too many arguments");
    return out;
}

}  // namespace wachtrix
