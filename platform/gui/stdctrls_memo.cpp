// The memo control: a plain text editor whose lines are text blocks.
#include "platform/gui/stdctrls.h"

#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

using namespace gui_detail;

// ---------------------------------------------------------------------------
// TCustomMemo and its lines. A line is a text block; every line ends with a
// line break, so the last block is empty unless the user typed past the end.

class TMemoStrings : public TStrings {
public:
    explicit TMemoStrings(TCustomMemo* owner) : owner_(owner) {}

    int GetCount() const override {
        const QTextDocument* doc = Doc();
        const int blocks = doc->blockCount();
        return doc->lastBlock().text().isEmpty() ? blocks - 1 : blocks;
    }
    void Insert(int Index, const String& S) override {
        const int count = GetCount();
        if (Index < 0 || Index > count) Error(u"List index out of bounds (%d)", Index);
        if (Index == count) {
            Append({&S, 1});
            return;
        }
        QTextCursor c(Doc());
        c.setPosition(Doc()->findBlockByNumber(Index).position());
        c.insertText(ToQString(S) + QLatin1Char('\n'));
    }
    // Lines added at the end go in as one text, in one edit of the document.
    void AddStrings(const TStrings* Strings) override {
        const int count = Strings->GetCount();
        std::vector<String> lines;
        lines.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) lines.push_back(Strings->GetStrings(i));
        Append(lines);
    }
    void Delete(int Index) override {
        Check(Index);
        QTextCursor c(Doc());
        const QTextBlock b = Doc()->findBlockByNumber(Index);
        const QTextBlock next = b.next();
        if (next.isValid()) {
            c.setPosition(b.position());
            c.setPosition(next.position(), QTextCursor::KeepAnchor);
        } else if (Index > 0) {
            c.setPosition(b.previous().position() + b.previous().length() - 1);
            c.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        } else {
            c.select(QTextCursor::Document);
        }
        c.removeSelectedText();
    }
    void Clear() override {
        // A document cleared inside an open edit block would keep the block's stale state.
        const bool batching = batch_.has_value();
        EndBatch();
        owner_->FEditor->clear();
        if (batching) BeginBatch();
    }
    void SetText(const String& Value) override { owner_->SetText(Value); }

protected:
    String Get(int Index) const override {
        Check(Index);
        return FromQString(Doc()->findBlockByNumber(Index).text());
    }
    void Put(int Index, const String& S) override {
        Check(Index);
        const QTextBlock b = Doc()->findBlockByNumber(Index);
        QTextCursor c(Doc());
        c.setPosition(b.position());
        c.setPosition(b.position() + b.length() - 1, QTextCursor::KeepAnchor);
        c.insertText(ToQString(S));
    }
    // While the lines are updated the document lays itself out once, at the end.
    void SetUpdateState(bool Updating) override {
        owner_->FEditor->setUpdatesEnabled(!Updating);
        if (Updating)
            BeginBatch();
        else
            EndBatch();
    }

private:
    // The last block is empty when the text ends with a line break; text typed
    // past the end makes it a line of its own first.
    void Append(std::span<const String> Lines) {
        if (Lines.empty()) return;
        QString text;
        const bool open = !Doc()->lastBlock().text().isEmpty();
        if (open) text += QLatin1Char('\n');
        for (const String& line : Lines) {
            text += ToQString(line);
            text += QLatin1Char('\n');
        }
        if (open) text.chop(1);
        QTextCursor c(Doc());
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }
    void BeginBatch() {
        if (batch_) return;
        batch_.emplace(Doc());
        batch_->beginEditBlock();
    }
    void EndBatch() {
        if (!batch_) return;
        batch_->endEditBlock();
        batch_.reset();
    }
    QTextDocument* Doc() const { return owner_->FEditor->document(); }
    void Check(int Index) const {
        if (Index < 0 || Index >= GetCount()) Error(u"List index out of bounds (%d)", Index);
    }
    TCustomMemo* owner_;
    std::optional<QTextCursor> batch_;
};

const ClassInfo& TCustomMemo::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomMemo>("TCustomMemo", &TWinControl::StaticClass());
    return ci;
}

TCustomMemo::TCustomMemo(TComponent* AOwner) : TWinControl(AOwner) {
    InitColor(clWindow);
    FEditor = new QPlainTextEdit();
    FEditor->setTabChangesFocus(true);
    SetWidget(FEditor);
    RegisterWidget(FEditor->viewport(), this);
    FLines = std::make_unique<TMemoStrings>(this);
    InitTabStop(true);
    SetBounds(0, 0, 185, 89);
    ApplyWrapAndBars();
    QObject::connect(FEditor, &QPlainTextEdit::textChanged, [this] {
        if (!FSilent) Guarded(this, [this] { Change(); });
    });
}

TCustomMemo::~TCustomMemo() {
    UnregisterWidget(FEditor->viewport());
}

TStrings* TCustomMemo::GetLines() const {
    return FLines.get();
}

void TCustomMemo::SetLines(TStrings* Value) {
    FLines->Assign(Value);
}

String TCustomMemo::GetText() const {
    String s = FromQString(FEditor->toPlainText());
    String out;
    out.reserve(s.size() + s.size() / 16);
    for (Char c : s) {
        if (c == u'\n') out.push_back(u'\r');
        out.push_back(c);
    }
    return out;
}

namespace {

// CR LF and lone CR as the document's line feed.
String MemoLineFeeds(const String& Value) {
    String s;
    s.reserve(Value.size());
    for (std::size_t i = 0; i < Value.size(); ++i) {
        if (Value[i] == u'\r') {
            s.push_back(u'\n');
            if (i + 1 < Value.size() && Value[i + 1] == u'\n') ++i;
        } else {
            s.push_back(Value[i]);
        }
    }
    return s;
}

} // namespace

void TCustomMemo::SetText(const String& Value) {
    const String s = MemoLineFeeds(Value);
    if (ToQString(s) == FEditor->toPlainText()) return;
    FEditor->setPlainText(ToQString(s));
}

void TCustomMemo::SetReadOnly(bool Value) {
    FReadOnly = Value;
    FEditor->setReadOnly(Value);
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    ApplyWrapAndBars();
}

void TCustomMemo::SetWordWrap(bool Value) {
    FWordWrap = Value;
    ApplyWrapAndBars();
}

// A horizontal scroll bar means lines are not wrapped.
void TCustomMemo::ApplyWrapAndBars() {
    const bool vertical = FScrollBars == ssVertical || FScrollBars == ssBoth;
    const bool horizontal = FScrollBars == ssHorizontal || FScrollBars == ssBoth;
    FEditor->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FEditor->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    FEditor->setLineWrapMode(FWordWrap && !horizontal ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TCustomMemo::SetWantTabs(bool Value) {
    FWantTabs = Value;
    FEditor->setTabChangesFocus(!Value);
}

void TCustomMemo::SetAlignment(TAlignment Value) {
    FAlignment = Value;
}

void TCustomMemo::Clear() {
    FEditor->clear();
}

int TCustomMemo::GetSelStart() const {
    return FEditor->textCursor().selectionStart();
}

void TCustomMemo::SetSelStart(int Value) {
    QTextCursor c = FEditor->textCursor();
    c.setPosition(std::clamp(Value, 0, FEditor->document()->characterCount() - 1));
    FEditor->setTextCursor(c);
}

int TCustomMemo::GetSelLength() const {
    const QTextCursor c = FEditor->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TCustomMemo::SetSelLength(int Value) {
    QTextCursor c = FEditor->textCursor();
    const int start = c.selectionStart();
    c.setPosition(start);
    c.setPosition(std::clamp(start + Value, 0, FEditor->document()->characterCount() - 1),
                  QTextCursor::KeepAnchor);
    FEditor->setTextCursor(c);
}

// The document separates selected paragraphs with U+2029.
String TCustomMemo::GetSelText() const {
    const String s = FromQString(FEditor->textCursor().selectedText());
    String out;
    out.reserve(s.size());
    for (Char c : s) {
        if (c == u'\u2029') {
            out += u"\r\n";
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void TCustomMemo::SetSelText(const String& Value) {
    FEditor->textCursor().insertText(ToQString(MemoLineFeeds(Value)));
}

void TCustomMemo::SelectAll() {
    FEditor->selectAll();
}

void TCustomMemo::Change() {
    if (OnChange) OnChange(this);
}

const ClassInfo& TMemo::StaticClass() {
    using M = TCustomMemo;
    static const PropInfo props[] = {
        MakeProp<&M::GetAlignment, &M::SetAlignment>("Alignment").Default(taLeftJustify),
        MakeProp<&M::GetLines, &M::SetLines>("Lines"),
        MakeProp<&M::GetMaxLength, &M::SetMaxLength>("MaxLength").Default(0),
        MakeProp<&M::GetReadOnly, &M::SetReadOnly>("ReadOnly").Default(false),
        MakeProp<&M::GetScrollBars, &M::SetScrollBars>("ScrollBars").Default(ssNone),
        MakeProp<&M::GetWantReturns, &M::SetWantReturns>("WantReturns").Default(true),
        MakeProp<&M::GetWantTabs, &M::SetWantTabs>("WantTabs").Default(false),
        MakeProp<&M::GetWordWrap, &M::SetWordWrap>("WordWrap").Default(true),
        MakeProp<&M::OnChange>("OnChange"),
    };
    static const ClassInfo ci = MakeClassInfo<TMemo>("TMemo", &TCustomMemo::StaticClass(), props);
    return ci;
}
