#pragma once
// Classes: the pointer list, its typed form, and the string lists.

#include "platform/core/components.h"

#include <functional>
#include <type_traits>
#include <vector>

// ---------------------------------------------------------------------------
// TList: an ordered list of untyped pointers with the class library's growth
// and index checks. Index errors raise EListError "List index out of bounds (%d)".

enum TListNotification : std::uint8_t { lnAdded, lnExtracted, lnDeleted };

// Negative when Item1 sorts before Item2, zero when equal, positive after.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
    TList() = default;
    ~TList() override = default;

    int Add(void* Item);
    // Removes every item (Notify lnDeleted for each non-nil one) and frees the storage.
    virtual void Clear();
    void Delete(int Index);
    void Exchange(int Index1, int Index2);
    TList* Expand();
    // Takes Item out without deleting it: Notify lnExtracted; nullptr when absent.
    void* Extract(void* Item);
    void* First() const { return Get(0); }
    void* Last() const { return Get(GetCount() - 1); }
    int IndexOf(const void* Item) const;
    void Insert(int Index, void* Item);
    void Move(int CurIndex, int NewIndex);
    // Drops the nil items.
    void Pack();
    // Deletes the first occurrence of Item; its former index, or -1.
    int Remove(void* Item);
    void Sort(const TListSortCompare& Compare);

    int GetCount() const { return FCount; }
    void SetCount(int NewCount);
    int GetCapacity() const { return static_cast<int>(FList.size()); }
    void SetCapacity(int NewCapacity);
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* operator[](int Index) const { return Get(Index); }
    void* const* begin() const { return FList.data(); }
    void* const* end() const { return FList.data() + FCount; }

    [[noreturn]] static void Error(const String& Msg, NativeInt Data);

protected:
    // Told of every non-nil pointer that enters or leaves. A descendant that
    // acts here must Clear() in its own destructor or BeforeDestruction: the
    // base destructor cannot reach the override.
    virtual void Notify(void* Ptr, TListNotification Action) {}
    virtual void Grow();

private:
    std::vector<void*> FList; // size() is the capacity
    int FCount = 0;
};

// A TList whose items are of one pointer type: TListOf<TChartSeries*>.
template <class P>
requires std::is_pointer_v<P>
class TListOf : public TList {
public:
    int Add(P Item) { return TList::Add(ToVoid(Item)); }
    P Get(int Index) const { return static_cast<P>(TList::Get(Index)); }
    void Put(int Index, P Item) { TList::Put(Index, ToVoid(Item)); }
    P operator[](int Index) const { return Get(Index); }
    P First() const { return static_cast<P>(TList::First()); }
    P Last() const { return static_cast<P>(TList::Last()); }
    int IndexOf(P Item) const { return TList::IndexOf(Item); }
    void Insert(int Index, P Item) { TList::Insert(Index, ToVoid(Item)); }
    int Remove(P Item) { return TList::Remove(ToVoid(Item)); }
    P Extract(P Item) { return static_cast<P>(TList::Extract(ToVoid(Item))); }
    bool Contains(P Item) const { return IndexOf(Item) >= 0; }
    void Sort(const std::function<int(P, P)>& Compare) {
        TList::Sort([&Compare](void* a, void* b) { return Compare(static_cast<P>(a), static_cast<P>(b)); });
    }
    P const* begin() const { return reinterpret_cast<P const*>(TList::begin()); }
    P const* end() const { return reinterpret_cast<P const*>(TList::end()); }

private:
    static void* ToVoid(P Item) { return const_cast<void*>(static_cast<const void*>(Item)); }
};

// ---------------------------------------------------------------------------
// String lists

class TStream;

enum TDuplicates : std::uint8_t { dupIgnore, dupAccept, dupError };
template <>
const EnumInfo& EnumInfoOf<TDuplicates>();

class TStrings : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* AObject);
    void Append(const String& S) { Add(S); }
    virtual void AddStrings(const TStrings* Strings);
    void Assign(TPersistent* Source) override;
    // The lines travel in component streams as the list property "Strings"
    // (defined with the filer).
    void DefineProperties(TFiler* Filer) override;
    void BeginUpdate();
    void EndUpdate();
    int GetUpdateCount() const { return FUpdateCount; }
    virtual void Clear() = 0;
    virtual void Delete(int Index) = 0;
    // Same strings in the same order, compared exactly.
    bool Equals(const TStrings* Strings) const;
    virtual void Exchange(int Index1, int Index2);
    virtual int IndexOf(const String& S) const;
    int IndexOfName(const String& Name) const;
    int IndexOfObject(const TObject* AObject) const;
    virtual void Insert(int Index, const String& S) = 0;
    virtual void InsertObject(int Index, const String& S, TObject* AObject);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int GetCount() const = 0;
    virtual int GetCapacity() const { return GetCount(); }
    virtual void SetCapacity(int NewCapacity) {}
    String GetStrings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const String& S) { Put(Index, S); }
    String operator[](int Index) const { return Get(Index); }
    TObject* GetObjects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    // Lines joined with CRLF after each; set: split at CR, LF or CRLF.
    virtual String GetText() const;
    virtual void SetText(const String& Value);
    String GetCommaText() const;
    void SetCommaText(const String& Value);
    // Items joined by Delimiter; an item holding a space, a control character,
    // the delimiter or the quote character is quoted (quotes doubled).
    String GetDelimitedText() const;
    void SetDelimitedText(const String& Value);
    Char GetDelimiter() const { return FDelimiter; }
    void SetDelimiter(Char Value) { FDelimiter = Value; }
    Char GetQuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(Char Value) { FQuoteChar = Value; }
    Char GetNameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(Char Value) { FNameValueSeparator = Value; }

    // The text from the stream's position to its end, in the 8-bit code page
    // (UTF-8; a leading byte-order mark is skipped), split as SetText does.
    virtual void LoadFromStream(TStream* Stream);
    // GetText in the 8-bit code page, without a byte-order mark.
    virtual void SaveToStream(TStream* Stream) const;
    void LoadFromFile(const String& FileName);
    // The text made in memory first, then put in place of the file (ReplaceFileContents).
    void SaveToFile(const String& FileName) const;

    // "Name=Value" lines.
    String GetNames(int Index) const;
    String GetValues(const String& Name) const;
    // An empty value deletes the line; a new name is added at the end.
    void SetValues(const String& Name, const String& Value);
    // The text after the first separator; empty when the line has none.
    String GetValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const String& Value);

protected:
    virtual String Get(int Index) const = 0;
    virtual TObject* GetObject(int Index) const { return nullptr; }
    virtual void Put(int Index, const String& S);
    virtual void PutObject(int Index, TObject* AObject) {}
    virtual void SetUpdateState(bool Updating) {}
    virtual int CompareStrings(const String& S1, const String& S2) const;
    [[noreturn]] void Error(const String& Msg, int Data) const;

private:
    String JoinDelimited(Char Delimiter, Char Quote) const;
    void SplitDelimited(const String& Value, Char Delimiter, Char Quote);

    int FUpdateCount = 0;
    Char FDelimiter = u',';
    Char FQuoteChar = u'"';
    Char FNameValueSeparator = u'=';
};

class TStringList;
// Negative when the item at Index1 sorts before the one at Index2.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TStringList() = default;
    ~TStringList() override = default;

    int Add(const String& S) override;
    int AddObject(const String& S, TObject* AObject) override;
    void Clear() override;
    void Delete(int Index) override;
    void Exchange(int Index1, int Index2) override;
    // Binary search of a sorted list: true when found; Index is where S is or would be.
    virtual bool Find(const String& S, int& Index) const;
    int IndexOf(const String& S) const override;
    void Insert(int Index, const String& S) override;
    void InsertObject(int Index, const String& S, TObject* AObject) override;
    // Refused on a sorted list before anything moves.
    void Move(int CurIndex, int NewIndex) override;
    virtual void Sort();
    virtual void CustomSort(const TStringListSortCompare& Compare);

    int GetCount() const override { return static_cast<int>(FList.size()); }
    int GetCapacity() const override { return FCapacity; }
    void SetCapacity(int NewCapacity) override;
    bool GetSorted() const { return FSorted; }
    void SetSorted(bool Value);
    TDuplicates GetDuplicates() const { return FDuplicates; }
    void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
    bool GetCaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    String Get(int Index) const override;
    TObject* GetObject(int Index) const override;
    void Put(int Index, const String& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const String& S1, const String& S2) const override;
    virtual void InsertItem(int Index, const String& S, TObject* AObject);

private:
    struct Item {
        String FString;
        TObject* FObject = nullptr;
    };
    void CheckIndex(int Index) const;
    void Grow();
    void QuickSort(const TStringListSortCompare& Compare);
    bool InStrictOrder() const;

    std::vector<Item> FList;
    int FCapacity = 0;
    bool FSorted = false;
    TDuplicates FDuplicates = dupIgnore;
    bool FCaseSensitive = false;
};

// Runs Body between Target.BeginUpdate() and Target.EndUpdate(), ending the
// update also when Body raises (an error from EndUpdate itself then wins).
template <class T, class F>
void WithUpdate(T& Target, F&& Body) {
    Target.BeginUpdate();
    try {
        Body();
    } catch (...) {
        Target.EndUpdate();
        throw;
    }
    Target.EndUpdate();
}

// The growth step of the class library's lists for a list of the given capacity.
int ListGrowDelta(int Capacity);

// The class library's quicksort over indices [L, R]: Compare(I, P) compares
// item I with the pivot item P, Swap(I, J) exchanges two items. Kept exact so
// that equal items end up in the order the class library's sort leaves them (it
// is not stable, and sorted lists show that order to the user), and bounded so
// that an inconsistent comparison cannot run off the ends.
void QuickSortIndices(int L, int R, const std::function<int(int I, int P)>& Compare,
                      const std::function<void(int I, int J)>& Swap);
