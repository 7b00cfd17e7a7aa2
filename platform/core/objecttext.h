#pragma once
// Object text: the readable form of a component stream,
//
//   object Root1: TStreamRoot
//     Title = 'Every value'
//     object Panel1: TStreamPanel
//       Columns = <
//         item
//           Title = 'Date'
//         end>
//     end
//   end
//
// Converting a binary stream to text and back gives the same bytes: integers
// take their smallest tag, strings their framing by content, and floats keep
// their kind by a suffix (none: extended, "s" single, "c" currency, "d" date,
// "f" double). Extended values that are doubles print as the shortest decimal
// that reads back to that double; others print with 21 digits.

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

// A syntax error in object text: "<what> on line <n>".
class EParserError : public Exception {
public:
    using Exception::Exception;
};

// Reads a component stream ("TPF0" and one object) at Input's position and
// writes its object text (UTF-8, CRLF lines, non-ASCII characters as #nnnn).
void ObjectBinaryToText(TStream* Input, TStream* Output);
// Reads object text (UTF-8) from Input's position to its end and writes the
// component stream. EParserError on bad text.
void ObjectTextToBinary(TStream* Input, TStream* Output);
