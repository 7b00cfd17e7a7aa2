#include "platform/core/lists.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"

#include <algorithm>
#include <climits>

namespace {

const char16_t kListIndexError[] = u"List index out of bounds (%d)";
const char16_t kSortedListError[] = u"Operation not allowed on sorted list";
const char16_t kDuplicateString[] = u"String list does not allow duplicates";

} // namespace

int ListGrowDelta(int Capacity) {
    if (Capacity > 64) return Capacity / 4;
    if (Capacity > 8) return 16;
    return 4;
}

void QuickSortIndices(int L, int R, const std::function<int(int I, int P)>& Compare,
                      const std::function<void(int I, int J)>& Swap) {
    while (L < R) {
        int I = L;
        int J = R;
        int P = static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(R)) >> 1);
        do {
            while (I < R && Compare(I, P) < 0) ++I;
            while (J > L && Compare(J, P) > 0) --J;
            if (I <= J) {
                if (I != J) Swap(I, J);
                if (P == I)
                    P = J;
                else if (P == J)
                    P = I;
                ++I;
                --J;
            }
        } while (I <= J);
        // The two parts are sorted independently, so recursing into the smaller
        // one keeps the depth logarithmic without changing the result.
        if (J - L < R - I) {
            if (L < J) QuickSortIndices(L, J, Compare, Swap);
            L = I;
        } else {
            if (I < R) QuickSortIndices(I, R, Compare, Swap);
            R = J;
        }
    }
}

// ---------------------------------------------------------------------------
// TList

void TList::Error(const String& Msg, NativeInt Data) {
    throw EListError(Msg, {static_cast<long long>(Data)});
}

int TList::Add(void* Item) {
    const int result = FCount;
    if (result == GetCapacity()) Grow();
    FList[static_cast<std::size_t>(result)] = Item;
    ++FCount;
    if (Item) Notify(Item, lnAdded);
    return result;
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Delete(int Index) {
    if (Index < 0 || Index >= FCount) Error(kListIndexError, Index);
    void* temp = FList[static_cast<std::size_t>(Index)];
    --FCount;
    std::copy(FList.begin() + Index + 1, FList.begin() + FCount + 1, FList.begin() + Index);
    FList[static_cast<std::size_t>(FCount)] = nullptr;
    if (temp) Notify(temp, lnDeleted);
}

void TList::Exchange(int Index1, int Index2) {
    if (Index1 < 0 || Index1 >= FCount) Error(kListIndexError, Index1);
    if (Index2 < 0 || Index2 >= FCount) Error(kListIndexError, Index2);
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
}

TList* TList::Expand() {
    if (FCount == GetCapacity()) Grow();
    return this;
}

void* TList::Extract(void* Item) {
    const int i = IndexOf(Item);
    if (i < 0) return nullptr;
    FList[static_cast<std::size_t>(i)] = nullptr;
    Delete(i);
    Notify(Item, lnExtracted);
    return Item;
}

int TList::IndexOf(const void* Item) const {
    for (int i = 0; i < FCount; ++i)
        if (FList[static_cast<std::size_t>(i)] == Item) return i;
    return -1;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > FCount) Error(kListIndexError, Index);
    if (FCount == GetCapacity()) Grow();
    std::copy_backward(FList.begin() + Index, FList.begin() + FCount, FList.begin() + FCount + 1);
    FList[static_cast<std::size_t>(Index)] = Item;
    ++FCount;
    if (Item) Notify(Item, lnAdded);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    if (NewIndex < 0 || NewIndex >= FCount) Error(kListIndexError, NewIndex);
    if (CurIndex < 0 || CurIndex >= FCount) Error(kListIndexError, CurIndex);
    auto first = FList.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
}

void TList::Pack() {
    for (int i = FCount - 1; i >= 0; --i)
        if (!FList[static_cast<std::size_t>(i)]) Delete(i);
}

int TList::Remove(void* Item) {
    const int result = IndexOf(Item);
    if (result >= 0) Delete(result);
    return result;
}

void TList::Sort(const TListSortCompare& Compare) {
    if (FCount < 2) return;
    QuickSortIndices(
        0, FCount - 1,
        [&](int I, int P) {
            return Compare(FList[static_cast<std::size_t>(I)], FList[static_cast<std::size_t>(P)]);
        },
        [&](int I, int J) {
            std::swap(FList[static_cast<std::size_t>(I)], FList[static_cast<std::size_t>(J)]);
        });
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0) Error(u"List count out of bounds (%d)", NewCount);
    if (NewCount > GetCapacity()) SetCapacity(NewCount);
    if (NewCount > FCount) {
        std::fill(FList.begin() + FCount, FList.begin() + NewCount, nullptr);
        FCount = NewCount;
    } else {
        for (int i = FCount - 1; i >= NewCount; --i) Delete(i);
    }
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < FCount) Error(u"List capacity out of bounds (%d)", NewCapacity);
    if (NewCapacity == GetCapacity()) return;
    FList.resize(static_cast<std::size_t>(NewCapacity), nullptr);
    FList.shrink_to_fit();
}

void* TList::Get(int Index) const {
    if (Index < 0 || Index >= FCount) Error(kListIndexError, Index);
    return FList[static_cast<std::size_t>(Index)];
}

void TList::Put(int Index, void* Item) {
    if (Index < 0 || Index >= FCount) Error(kListIndexError, Index);
    void*& slot = FList[static_cast<std::size_t>(Index)];
    if (Item == slot) return;
    void* old = slot;
    slot = Item;
    if (old) Notify(old, lnDeleted);
    if (Item) Notify(Item, lnAdded);
}

void TList::Grow() {
    SetCapacity(GetCapacity() + ListGrowDelta(GetCapacity()));
}

// ---------------------------------------------------------------------------
// TStrings

template <>
const EnumInfo& EnumInfoOf<TDuplicates>() {
    static const EnumInfo info{"TDuplicates", {"dupIgnore", "dupAccept", "dupError"}};
    return info;
}

const ClassInfo& TStrings::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TStrings>("TStrings", &TPersistent::StaticClass());
    return ci;
}

void TStrings::Error(const String& Msg, int Data) const {
    throw EStringListError(Msg, {Data});
}

int TStrings::Add(const String& S) {
    const int result = GetCount();
    Insert(result, S);
    return result;
}

int TStrings::AddObject(const String& S, TObject* AObject) {
    const int result = Add(S);
    PutObject(result, AObject);
    return result;
}

void TStrings::AddStrings(const TStrings* Strings) {
    WithUpdate(*this, [&] {
        // Counted once: adding a list to itself doubles it instead of looping.
        const int count = Strings->GetCount();
        for (int i = 0; i < count; ++i) AddObject(Strings->Get(i), Strings->GetObject(i));
    });
}

void TStrings::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TStrings*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this) return;
    WithUpdate(*this, [&] {
        Clear();
        FDelimiter = source->FDelimiter;
        FQuoteChar = source->FQuoteChar;
        FNameValueSeparator = source->FNameValueSeparator;
        AddStrings(source);
    });
}

void TStrings::BeginUpdate() {
    if (FUpdateCount == 0) SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate() {
    if (FUpdateCount <= 0) return;
    --FUpdateCount;
    if (FUpdateCount == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings* Strings) const {
    if (!Strings) return false;
    const int count = GetCount();
    if (count != Strings->GetCount()) return false;
    for (int i = 0; i < count; ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

void TStrings::Exchange(int Index1, int Index2) {
    WithUpdate(*this, [&] {
        const String s = Get(Index1);
        TObject* o = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, s);
        PutObject(Index2, o);
    });
}

int TStrings::IndexOf(const String& S) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const String& Name) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const String s = Get(i);
        const auto p = s.find(FNameValueSeparator);
        if (p != String::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
    const int count = GetCount();
    for (int i = 0; i < count; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

void TStrings::InsertObject(int Index, const String& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    WithUpdate(*this, [&] {
        const String s = Get(CurIndex);
        TObject* o = GetObject(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, o);
    });
}

void TStrings::Put(int Index, const String& S) {
    TObject* o = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, o);
}

int TStrings::CompareStrings(const String& S1, const String& S2) const {
    return AnsiCompareText(S1, S2);
}

String TStrings::GetText() const {
    String result;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        result += Get(i);
        result += u"\r\n";
    }
    return result;
}

void TStrings::SetText(const String& Value) {
    WithUpdate(*this, [&] {
        Clear();
        std::size_t p = 0;
        while (p < Value.size()) {
            const std::size_t start = p;
            while (p < Value.size() && Value[p] != u'\r' && Value[p] != u'\n') ++p;
            Add(Value.substr(start, p - start));
            if (p < Value.size() && Value[p] == u'\r') ++p;
            if (p < Value.size() && Value[p] == u'\n') ++p;
        }
    });
}

String TStrings::GetCommaText() const {
    return JoinDelimited(u',', u'"');
}

void TStrings::SetCommaText(const String& Value) {
    SplitDelimited(Value, u',', u'"');
}

String TStrings::GetDelimitedText() const {
    return JoinDelimited(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const String& Value) {
    SplitDelimited(Value, FDelimiter, FQuoteChar);
}

namespace {

// Reads a quoted item starting at Value[P] (the opening quote); doubled quotes
// stand for one. An item without its closing quote runs to the end.
String ExtractQuoted(const String& Value, std::size_t& P, Char Quote) {
    String out;
    ++P;
    while (P < Value.size()) {
        if (Value[P] == Quote) {
            if (P + 1 < Value.size() && Value[P + 1] == Quote) {
                out.push_back(Quote);
                P += 2;
                continue;
            }
            ++P;
            return out;
        }
        out.push_back(Value[P++]);
    }
    return out;
}

// A NUL counts as blank: it neither ends the text nor yields an item.
bool IsBlank(Char c) {
    return c <= u' ';
}

} // namespace

String TStrings::JoinDelimited(Char Delimiter, Char Quote) const {
    const int count = GetCount();
    if (count == 1 && Get(0).empty()) return String(2, Quote);
    String result;
    for (int i = 0; i < count; ++i) {
        const String s = Get(i);
        const bool quote = std::any_of(s.begin(), s.end(), [Delimiter, Quote](Char c) {
            return c <= u' ' || c == Quote || c == Delimiter;
        });
        if (i > 0) result.push_back(Delimiter);
        result += quote ? AnsiQuotedStr(s, Quote) : s;
    }
    return result;
}

void TStrings::SplitDelimited(const String& Value, Char Delimiter, Char Quote) {
    WithUpdate(*this, [&] {
        Clear();
        std::size_t p = 0;
        const std::size_t n = Value.size();
        while (p < n && IsBlank(Value[p])) ++p;
        while (p < n) {
            String s;
            if (Value[p] == Quote) {
                s = ExtractQuoted(Value, p, Quote);
            } else {
                const std::size_t start = p;
                while (p < n && Value[p] > u' ' && Value[p] != Delimiter) ++p;
                s = Value.substr(start, p - start);
            }
            Add(s);
            while (p < n && IsBlank(Value[p])) ++p;
            if (p < n && Value[p] == Delimiter) {
                if (p + 1 == n) Add(String());
                do ++p;
                while (p < n && IsBlank(Value[p]));
            }
        }
    });
}

void TStrings::LoadFromStream(TStream* Stream) {
    AnsiString bytes;
    char chunk[65536];
    for (;;) {
        const LongInt got = Stream->Read(chunk, static_cast<LongInt>(sizeof chunk));
        if (got <= 0) break;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    std::string_view text(bytes);
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    SetText(UTF8ToString(text));
}

void TStrings::SaveToStream(TStream* Stream) const {
    const AnsiString bytes = UTF8Encode(GetText());
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto part = static_cast<LongInt>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        Stream->WriteBuffer(bytes.data() + done, part);
        done += static_cast<std::size_t>(part);
    }
}

void TStrings::LoadFromFile(const String& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const String& FileName) const {
    TMemoryStream stream;
    SaveToStream(&stream);
    stream.SaveToFile(FileName);
}

String TStrings::GetNames(int Index) const {
    const String s = Get(Index);
    const auto p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::GetValues(const String& Name) const {
    const int i = IndexOfName(Name);
    return i >= 0 ? GetValueFromIndex(i) : String();
}

void TStrings::SetValues(const String& Name, const String& Value) {
    int i = IndexOfName(Name);
    if (!Value.empty()) {
        if (i < 0) i = Add(String());
        Put(i, Name + FNameValueSeparator + Value);
    } else if (i >= 0) {
        Delete(i);
    }
}

String TStrings::GetValueFromIndex(int Index) const {
    if (Index < 0) return String();
    const String s = Get(Index);
    const auto p = s.find(FNameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const String& Value) {
    if (!Value.empty()) {
        if (Index < 0) Index = Add(String());
        Put(Index, GetNames(Index) + FNameValueSeparator + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

// ---------------------------------------------------------------------------
// TStringList

const ClassInfo& TStringList::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TStringList>("TStringList", &TStrings::StaticClass());
    return ci;
}

void TStringList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= GetCount()) Error(kListIndexError, Index);
}

int TStringList::Add(const String& S) {
    return AddObject(S, nullptr);
}

int TStringList::AddObject(const String& S, TObject* AObject) {
    int result = GetCount();
    if (FSorted && Find(S, result)) {
        if (FDuplicates == dupIgnore) return result;
        if (FDuplicates == dupError) Error(kDuplicateString, 0);
    }
    InsertItem(result, S, AObject);
    return result;
}

void TStringList::Changed() {
    if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Clear() {
    if (FList.empty()) return;
    Changing();
    FList.clear();
    SetCapacity(0);
    Changed();
}

void TStringList::Delete(int Index) {
    CheckIndex(Index);
    Changing();
    FList.erase(FList.begin() + Index);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    Changing();
    std::swap(FList[static_cast<std::size_t>(Index1)], FList[static_cast<std::size_t>(Index2)]);
    Changed();
}

bool TStringList::Find(const String& S, int& Index) const {
    bool result = false;
    int L = 0;
    int H = GetCount() - 1;
    while (L <= H) {
        const int I = static_cast<int>((static_cast<unsigned>(L) + static_cast<unsigned>(H)) >> 1);
        const int C = CompareStrings(FList[static_cast<std::size_t>(I)].FString, S);
        if (C < 0) {
            L = I + 1;
        } else {
            H = I - 1;
            if (C == 0) {
                result = true;
                if (FDuplicates != dupAccept) L = I;
            }
        }
    }
    Index = L;
    return result;
}

int TStringList::IndexOf(const String& S) const {
    if (!FSorted) return TStrings::IndexOf(S);
    int result = -1;
    return Find(S, result) ? result : -1;
}

void TStringList::Insert(int Index, const String& S) {
    InsertObject(Index, S, nullptr);
}

void TStringList::InsertObject(int Index, const String& S, TObject* AObject) {
    if (FSorted) Error(kSortedListError, 0);
    if (Index < 0 || Index > GetCount()) Error(kListIndexError, Index);
    InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(int Index, const String& S, TObject* AObject) {
    Changing();
    if (GetCount() == FCapacity) Grow();
    FList.insert(FList.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    // Checked up front: the generic delete-then-insert would lose the line when
    // the insert is refused.
    if (CurIndex == NewIndex) return;
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(CurIndex);
    if (NewIndex < 0 || NewIndex >= GetCount()) Error(kListIndexError, NewIndex);
    TStrings::Move(CurIndex, NewIndex);
}

void TStringList::Sort() {
    // Strings already in strictly ascending order are what the sort would
    // leave (no two compare equal, so there is no order of equals to keep):
    // one pass instead of the sort's comparisons. Lines that came in time
    // order, as a device's records do, are such.
    if (!FSorted && FList.size() > 1 && InStrictOrder()) {
        Changing();
        Changed();
        return;
    }
    CustomSort([](TStringList* List, int Index1, int Index2) {
        return List->CompareStrings(List->FList[static_cast<std::size_t>(Index1)].FString,
                                    List->FList[static_cast<std::size_t>(Index2)].FString);
    });
}

bool TStringList::InStrictOrder() const {
    for (std::size_t i = 1; i < FList.size(); ++i)
        if (CompareStrings(FList[i - 1].FString, FList[i].FString) >= 0) return false;
    return true;
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
    if (FSorted || GetCount() <= 1) return;
    Changing();
    QuickSort(Compare);
    Changed();
}

void TStringList::QuickSort(const TStringListSortCompare& Compare) {
    QuickSortIndices(
        0, GetCount() - 1, [&](int I, int P) { return Compare(this, I, P); },
        [&](int I, int J) {
            std::swap(FList[static_cast<std::size_t>(I)], FList[static_cast<std::size_t>(J)]);
        });
}

void TStringList::SetCapacity(int NewCapacity) {
    if (NewCapacity < GetCount()) Error(u"List capacity out of bounds (%d)", NewCapacity);
    FCapacity = NewCapacity;
    FList.reserve(static_cast<std::size_t>(NewCapacity));
}

void TStringList::Grow() {
    SetCapacity(FCapacity + ListGrowDelta(FCapacity));
}

void TStringList::SetSorted(bool Value) {
    if (FSorted == Value) return;
    if (Value) Sort();
    FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (FCaseSensitive == Value) return;
    FCaseSensitive = Value;
    // A sorted list is re-sorted under the new comparison, or Find would miss.
    if (FSorted) {
        FSorted = false;
        SetSorted(true);
    }
}

String TStringList::Get(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FString;
}

TObject* TStringList::GetObject(int Index) const {
    CheckIndex(Index);
    return FList[static_cast<std::size_t>(Index)].FObject;
}

void TStringList::Put(int Index, const String& S) {
    if (FSorted) Error(kSortedListError, 0);
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FString = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
    CheckIndex(Index);
    Changing();
    FList[static_cast<std::size_t>(Index)].FObject = AObject;
    Changed();
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const String& S1, const String& S2) const {
    return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}
