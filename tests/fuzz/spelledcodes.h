#pragma once
// Seeds of the escape parsers and the terminal: every code an emulation can
// send, bare and with parameters, between plain text.

#include "serial/comportesc.h"

#include <string>

inline std::string SpelledCodes(TEscapeCodes& Codes) {
    TStringList params;
    params.Add(u"12");
    params.Add(u"7");
    std::string text = "text\r\n\b\t";
    for (int code = ecUnknown; code <= ecTest; ++code) {
        text += Codes.EscCodeToStr(static_cast<TEscapeCode>(code), nullptr);
        text += Codes.EscCodeToStr(static_cast<TEscapeCode>(code), &params);
        text += "ab";
    }
    return text;
}
