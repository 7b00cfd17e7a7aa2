#pragma once
// Components' text form turned into XML lines.

#include "platform/core/lists.h"
#include "platform/core/system.h"

class TStream;

// The names of the XML elements still open, last opened on top.
class TStringsStack : public TStringList {
public:
    int Push(const String& S) { return Add(S); }
    // The last name, removed; empty when none is left.
    String Pop();
};

// "UTF-16": the encoding the XML texts are written in.
String ZuzDefaultXMLEncoding();
// Text made safe inside an XML attribute value; with ApostrophesAndBreaks
// (the data exports, HTML cells) apostrophes and line breaks become references too.
String ZuzEscapeXML(const String& Text, bool ApostrophesAndBreaks = false);
// Replaces the text form of components held in Stream (from its start) by XML lines, in
// UTF-16 as the declaration says. Values go into attributes with &, <, > and " escaped.
void ConvertTextToXML(TStream* Stream, bool XMLHeader);
// The conversion of the lines alone.
String TextToXML(const String& Text, bool XMLHeader);
