#include "platform/core/sysutils.h"

#include <cstdio>

Exception::Exception(String message) : message_(std::move(message)), utf8_(UTF8Encode(message_)) {}

Exception::Exception(const String& fmt, std::initializer_list<TVarRec> args) : Exception(Format(fmt, args)) {}

void Exception::SetMessage(String message) {
    message_ = std::move(message);
    utf8_ = UTF8Encode(message_);
}

// Interim Format: %s and %d only; the full formatter replaces it.
String Format(const String& fmt, std::initializer_list<TVarRec> args) {
    String out;
    auto it = args.begin();
    for (std::size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] != u'%' || i + 1 >= fmt.size()) {
            out.push_back(fmt[i]);
            continue;
        }
        const char16_t spec = fmt[++i];
        if (spec == u'%') {
            out.push_back(u'%');
            continue;
        }
        if (it == args.end())
            throw EConvertError(u"Format '" + fmt + u"' invalid or incompatible with argument");
        const TVarRec& a = *it++;
        if (a.kind == TVarRec::vtString || a.kind == TVarRec::vtChar)
            out += a.s;
        else
            out += UTF8ToString(std::to_string(a.i));
    }
    return out;
}
