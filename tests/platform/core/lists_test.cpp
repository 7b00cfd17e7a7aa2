#include "platform/core/classes.h"
#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

template <class E, class F>
String MessageOf(F&& f) {
    try {
        f();
    } catch (const E& e) {
        return e.Message();
    }
    return u"<no exception>";
}

void* P(std::intptr_t n) {
    return reinterpret_cast<void*>(n);
}

class RecordingList : public TList {
public:
    ~RecordingList() override { Clear(); }
    std::vector<std::pair<std::intptr_t, TListNotification>> Log;

protected:
    void Notify(void* Ptr, TListNotification Action) override {
        Log.emplace_back(reinterpret_cast<std::intptr_t>(Ptr), Action);
    }
};

std::vector<String> Items(const TStrings& s) {
    std::vector<String> out;
    for (int i = 0; i < s.GetCount(); ++i) out.push_back(s[i]);
    return out;
}

} // namespace

TEST(List, GrowsByTheClassLibrarySteps) {
    TList list;
    std::vector<int> capacities;
    for (int i = 0; i < 120; ++i) {
        list.Add(P(i + 1));
        if (capacities.empty() || capacities.back() != list.GetCapacity())
            capacities.push_back(list.GetCapacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95, 118, 147}));
    list.SetCount(3);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetCapacity(), 147);
    list.SetCount(5); // grows with nils
    EXPECT_EQ(list[4], nullptr);
    list.Pack();
    EXPECT_EQ(list.GetCount(), 3);
    list.Clear();
    EXPECT_EQ(list.GetCapacity(), 0);
}

TEST(List, IndexErrorsNameTheIndex) {
    TList list;
    list.Add(P(1));
    list.Add(P(2));
    EXPECT_EQ(MessageOf<EListError>([&] { list.Get(2); }), u"List index out of bounds (2)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Get(-1); }), u"List index out of bounds (-1)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Put(5, nullptr); }), u"List index out of bounds (5)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Delete(2); }), u"List index out of bounds (2)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Insert(3, P(3)); }), u"List index out of bounds (3)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Exchange(0, 7); }), u"List index out of bounds (7)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.Move(0, 2); }), u"List index out of bounds (2)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.SetCount(-1); }), u"List count out of bounds (-1)");
    EXPECT_EQ(MessageOf<EListError>([&] { list.SetCapacity(1); }), u"List capacity out of bounds (1)");
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
    list.Insert(2, P(3)); // at the end is allowed
    EXPECT_EQ(list.Last(), P(3));
}

TEST(List, EditingOperationsKeepOrderAndNotify) {
    RecordingList list;
    for (int i = 1; i <= 5; ++i) list.Add(P(i));
    list.Add(nullptr); // nil is stored but never announced
    list.Move(0, 3);   // 2 3 4 1 5 nil
    list.Move(4, 1);   // 2 5 3 4 1 nil
    EXPECT_EQ(std::vector<void*>(list.begin(), list.end()),
              (std::vector<void*>{P(2), P(5), P(3), P(4), P(1), nullptr}));
    list.Exchange(0, 4);
    EXPECT_EQ(list.First(), P(1));
    EXPECT_EQ(list.IndexOf(P(4)), 3);
    EXPECT_EQ(list.Remove(P(9)), -1);
    EXPECT_EQ(list.Extract(P(9)), nullptr);
    list.Log.clear();
    EXPECT_EQ(list.Remove(P(5)), 1);
    EXPECT_EQ(list.Extract(P(3)), P(3));
    list.Put(0, P(7));
    list.Put(0, P(7)); // same pointer: no notices
    EXPECT_EQ(list.Log, (std::vector<std::pair<std::intptr_t, TListNotification>>{
                            {5, lnDeleted}, {3, lnExtracted}, {1, lnDeleted}, {7, lnAdded}}));
    list.Log.clear();
    list.Clear(); // 7 4 2 nil, each non-nil one deleted from the end
    EXPECT_EQ(list.Log, (std::vector<std::pair<std::intptr_t, TListNotification>>{
                            {2, lnDeleted}, {4, lnDeleted}, {7, lnDeleted}}));
}

TEST(List, SortOrdersAndSurvivesAnInconsistentComparison) {
    std::mt19937 rng(7);
    TList list;
    std::vector<std::intptr_t> values;
    for (int i = 0; i < 500; ++i) {
        values.push_back(static_cast<std::intptr_t>(rng() % 50));
        list.Add(P(values.back()));
    }
    const auto cmp = [](void* a, void* b) {
        const auto x = reinterpret_cast<std::intptr_t>(a), y = reinterpret_cast<std::intptr_t>(b);
        return x < y ? -1 : x > y ? 1 : 0;
    };
    list.Sort(cmp);
    std::sort(values.begin(), values.end());
    for (int i = 0; i < list.GetCount(); ++i) EXPECT_EQ(list[i], P(values[static_cast<std::size_t>(i)]));
    // Already sorted and reverse-sorted input of a large size must not recurse deeply.
    TList big;
    for (int i = 200000; i > 0; --i) big.Add(P(i));
    big.Sort(cmp);
    EXPECT_EQ(big.First(), P(1));
    // A comparison that is not an order ends without leaving the list.
    list.Sort([&rng](void*, void*) { return static_cast<int>(rng() % 3) - 1; });
    EXPECT_EQ(list.GetCount(), 500);
}

TEST(List, TypedListHidesTheCasts) {
    struct Thing {
        int n;
    };
    Thing a{1}, b{2}, c{3};
    TListOf<Thing*> list;
    list.Add(&c);
    list.Add(&a);
    list.Insert(1, &b);
    list.Sort([](Thing* x, Thing* y) { return x->n - y->n; });
    int sum = 0;
    for (Thing* t : list) sum = sum * 10 + t->n;
    EXPECT_EQ(sum, 123);
    EXPECT_EQ(list.Last()->n, 3);
    EXPECT_TRUE(list.Contains(&b));
    EXPECT_EQ(list.Extract(&b), &b);
    EXPECT_FALSE(list.Contains(&b));
}

TEST(StringList, CaseInsensitiveSortMixesLatinAndCyrillicInAlphabetOrder) {
    TStringList list;
    for (const char16_t* s : {u"яблоко", u"Apple", u"banana", u"Ёлка", u"ель", u"Жук", u"apple2", u"10", u"9",
                              u"ЯБЛОКО", u"Banana"})
        list.Add(s);
    list.SetSorted(true);
    const auto sorted = Items(list);
    ASSERT_EQ(sorted.size(), 11u);
    const std::vector<String> head{u"10", u"9", u"Apple", u"apple2"};
    EXPECT_EQ(std::vector<String>(sorted.begin(), sorted.begin() + 4), head);
    // Equal-ignoring-case pairs sit together; their mutual order is the sort's.
    EXPECT_EQ(AnsiCompareText(sorted[4], u"BANANA"), 0);
    EXPECT_EQ(AnsiCompareText(sorted[5], u"banana"), 0);
    EXPECT_EQ(std::vector<String>(sorted.begin() + 6, sorted.begin() + 9),
              (std::vector<String>{u"ель", u"Ёлка", u"Жук"}));
    EXPECT_EQ(AnsiCompareText(sorted[9], u"Яблоко"), 0);
    EXPECT_EQ(AnsiCompareText(sorted[10], u"Яблоко"), 0);
    // Sorted lookups fold case in both alphabets.
    EXPECT_EQ(list.IndexOf(u"жУК"), 8);
    EXPECT_EQ(list.IndexOf(u"ёЛКА"), 7);
    EXPECT_EQ(list.IndexOf(u"елка"), -1);
    int at = -1;
    EXPECT_FALSE(list.Find(u"b", at));
    EXPECT_EQ(at, 4);
    // New lines land in order.
    EXPECT_EQ(list.Add(u"дом"), 6);
    // Case-sensitive: lower case first, and the list is re-sorted at once.
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"BANANA"), -1);
    EXPECT_LT(list.IndexOf(u"banana"), list.IndexOf(u"Banana"));
    EXPECT_LT(list.IndexOf(u"яблоко"), list.IndexOf(u"ЯБЛОКО"));
}

TEST(StringList, SortPutsSymbolsBeforeDigitsBeforeLettersAndJoinsHyphenatedWords) {
    TStringList list;
    for (const char16_t* s : {u"ab", u"a-c", u"a_b", u"a1", u"№ 5", u"coop", u"co-op", u"cope", u"_x", u"(1)",
                              u"1", u"z", u"д'Артаньян", u"да"})
        list.Add(s);
    list.Sort();
    // Symbols ('(', '_', '№') sort before digits, digits before letters; a hyphen
    // or an apostrophe counts only between texts otherwise equal.
    EXPECT_EQ(Items(list), (std::vector<String>{u"(1)", u"_x", u"№ 5", u"1", u"a_b", u"a1", u"ab", u"a-c",
                                                u"coop", u"co-op", u"cope", u"z", u"да", u"д'Артаньян"}));
    list.SetSorted(true);
    EXPECT_EQ(list.IndexOf(u"CO-OP"), 9); // found where the binary search looks
    EXPECT_EQ(list.IndexOf(u"coop"), 8);
    EXPECT_EQ(list.Add(u"co-OP"), 9); // dupIgnore: a match in another case is the same line
    EXPECT_EQ(list.GetCount(), 14);
}

// Lines already in order are left as they are without the quicksort; the
// order of equals the quicksort leaves, and the change notices, stay as they were.
TEST(StringList, SortLeavesWhatTheQuicksortLeavesAlsoForOrderedLines) {
    std::mt19937 rng(7);
    const std::vector<String> words{u"01.02 00:00", u"01.02 01:00", u"01.02 02:00", u"b",
                                    u"B",           u"ё",           u"Е",           u"co-op"};
    for (int round = 0; round < 500; ++round) {
        std::vector<String> lines;
        const std::size_t n = rng() % 9;
        for (std::size_t i = 0; i < n; ++i) lines.push_back(words[rng() % words.size()]);
        if (round % 2 == 0)
            std::sort(lines.begin(), lines.end(),
                      [](const String& a, const String& b) { return AnsiCompareText(a, b) < 0; });
        TStringList sorted, quick;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            sorted.AddObject(lines[i], reinterpret_cast<TObject*>(i + 1));
            quick.AddObject(lines[i], reinterpret_cast<TObject*>(i + 1));
        }
        int changes = 0;
        sorted.OnChange = TNotifyEvent(std::function<void(TObject*)>([&changes](TObject*) { ++changes; }));
        sorted.Sort();
        quick.CustomSort([](TStringList* list, int a, int b) {
            return AnsiCompareText(list->GetStrings(a), list->GetStrings(b));
        });
        for (int i = 0; i < quick.GetCount(); ++i) {
            ASSERT_EQ(sorted.GetStrings(i), quick.GetStrings(i));
            ASSERT_EQ(sorted.GetObjects(i), quick.GetObjects(i)) << "equal lines in another order";
        }
        EXPECT_EQ(changes, n > 1 ? 1 : 0);
    }
}

TEST(StringList, DuplicatesModesApplyToSortedLists) {
    TStringList list;
    list.Add(u"b");
    list.Add(u"B"); // unsorted lists keep everything
    EXPECT_EQ(list.GetCount(), 2);
    list.Clear();
    list.SetSorted(true);
    list.Add(u"b");
    list.Add(u"a");
    EXPECT_EQ(list.Add(u"B"), 1); // dupIgnore: the existing index, nothing added
    EXPECT_EQ(list.GetCount(), 2);
    list.SetDuplicates(dupError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add(u"A"); }), u"String list does not allow duplicates");
    EXPECT_EQ(list.GetCount(), 2);
    list.SetDuplicates(dupAccept);
    list.Add(u"A");
    list.Add(u"a");
    EXPECT_EQ(list.GetCount(), 4);
    int at = -1;
    EXPECT_TRUE(list.Find(u"a", at));
    EXPECT_EQ(at, 0); // with duplicates accepted, Find reports the first of them
}

TEST(StringList, SortedListRefusesPositionalEditsWithoutLosingLines) {
    TStringList list;
    list.SetSorted(true);
    list.Add(u"a");
    list.Add(u"c");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(0, u"b"); }),
              u"Operation not allowed on sorted list");
    EXPECT_THROW(list.SetStrings(0, u"z"), EStringListError);
    EXPECT_THROW(list.Move(0, 1), EStringListError);
    EXPECT_EQ(Items(list), (std::vector<String>{u"a", u"c"}));
    list.SetSorted(false);
    list.Insert(1, u"b");
    list.Move(0, 2);
    EXPECT_EQ(Items(list), (std::vector<String>{u"b", u"c", u"a"}));
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Delete(3); }), u"List index out of bounds (3)");
    EXPECT_THROW(list.GetObjects(-1), EStringListError);
    EXPECT_THROW(list.Insert(4, u"x"), EStringListError);
    EXPECT_THROW(list.Move(0, 3), EStringListError);
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(StringList, TextSplitsAtAnyLineBreakAndWritesCrLf) {
    TStringList list;
    list.SetText(u"one\r\ntwo\nthree\rfour\r\n\r\nsix");
    EXPECT_EQ(Items(list), (std::vector<String>{u"one", u"two", u"three", u"four", u"", u"six"}));
    EXPECT_EQ(list.GetText(), u"one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
    TStringList copy;
    copy.SetText(list.GetText());
    EXPECT_TRUE(copy.Equals(&list));
    copy.SetText(u"");
    EXPECT_EQ(copy.GetCount(), 0);
    copy.SetText(u"a\n\n"); // one empty line after "a", not two
    EXPECT_EQ(Items(copy), (std::vector<String>{u"a", u""}));
}

TEST(StringList, CommaTextQuotesWhatNeedsItAndRoundTrips) {
    TStringList list;
    for (const char16_t* s : {u"plain", u"with space", u"quo\"te", u"", u"comma,x", u"Привет", u"tab\there"})
        list.Add(s);
    const String text = list.GetCommaText();
    // An empty item in a longer list stays bare; only a lone empty item is quoted.
    EXPECT_EQ(text, u"plain,\"with space\",\"quo\"\"te\",,\"comma,x\",Привет,\"tab\there\"");
    TStringList back;
    back.SetCommaText(text);
    EXPECT_TRUE(back.Equals(&list));

    TStringList one;
    one.Add(u"");
    EXPECT_EQ(one.GetCommaText(), u"\"\"");
    back.SetCommaText(one.GetCommaText());
    EXPECT_EQ(Items(back), (std::vector<String>{u""}));

    back.SetCommaText(u"  a , b c,\"d, e\"f,");
    EXPECT_EQ(Items(back), (std::vector<String>{u"a", u"b", u"c", u"d, e", u"f", u""}));
    back.SetCommaText(u"\"open ended");
    EXPECT_EQ(Items(back), (std::vector<String>{u"open ended"}));

    // Delimited text with its own delimiter and quote; CommaText leaves them alone.
    list.SetDelimiter(u';');
    list.SetQuoteChar(u'\'');
    EXPECT_EQ(list.GetDelimitedText(), u"plain;'with space';quo\"te;;comma,x;Привет;'tab\there'");
    EXPECT_EQ(list.GetCommaText(), text);
    EXPECT_EQ(list.GetDelimiter(), u';');
    back.SetDelimiter(u';');
    back.SetQuoteChar(u'\'');
    back.SetDelimitedText(list.GetDelimitedText());
    EXPECT_TRUE(back.Equals(&list));
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText(u"Port=COM1\nBaud=9600\nplain\nEmpty=\nPath=a=b");
    EXPECT_EQ(list.GetValues(u"port"), u"COM1");
    EXPECT_EQ(list.GetValues(u"path"), u"a=b");
    EXPECT_EQ(list.GetValues(u"plain"), u"");
    EXPECT_EQ(list.GetNames(2), u"");
    EXPECT_EQ(list.GetValueFromIndex(2), u""); // no separator, no value
    EXPECT_EQ(list.GetNames(4), u"Path");
    EXPECT_EQ(list.IndexOfName(u"EMPTY"), 3);
    list.SetValues(u"Baud", u"19200");
    EXPECT_EQ(list[1], u"Baud=19200");
    list.SetValues(u"Parity", u"None");
    EXPECT_EQ(list[list.GetCount() - 1], u"Parity=None");
    list.SetValues(u"PORT", u"");
    EXPECT_EQ(list.IndexOfName(u"Port"), -1);
    list.SetValueFromIndex(0, u"115200");
    EXPECT_EQ(list[0], u"Baud=115200");
    list.SetNameValueSeparator(u':');
    list.Add(u"Key:Value");
    EXPECT_EQ(list.GetValues(u"key"), u"Value");
}

TEST(StringList, ChangeEventsFireOncePerUpdateBlock) {
    TStringList list;
    int changing = 0, changed = 0;
    list.OnChanging.Bind([&](TObject* sender) {
        EXPECT_EQ(sender, &list);
        ++changing;
    });
    list.OnChange.Bind([&](TObject*) { ++changed; });
    list.Add(u"x");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.SetCommaText(u"a,b,c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.SetText(u"p\nq");
    EXPECT_EQ(changed, 3);
    list.SetSorted(true); // one sort, one notice
    EXPECT_EQ(changed, 4);
}

TEST(StringList, AssignCopiesStringsObjectsAndTextSettings) {
    TStringList a, b;
    TObject marker;
    a.AddObject(u"one", &marker);
    a.Add(u"two");
    a.SetDelimiter(u'|');
    b.Add(u"old");
    b.Assign(&a);
    EXPECT_TRUE(b.Equals(&a));
    EXPECT_EQ(b.GetObjects(0), &marker);
    EXPECT_EQ(b.IndexOfObject(&marker), 0);
    EXPECT_EQ(b.GetDelimiter(), u'|');
    b.AddStrings(&b); // adding a list to itself doubles it
    EXPECT_EQ(b.GetCount(), 4);
    EXPECT_FALSE(b.Equals(&a));
    TStringList upper;
    upper.Add(u"ONE");
    upper.Add(u"two");
    EXPECT_FALSE(upper.Equals(&a)); // Equals is exact

    auto* component = Create<TComponent>(nullptr);
    EXPECT_THROW(b.Assign(component), EConvertError);
    component->Free();
    b.Assign(&b);
    EXPECT_EQ(b.GetCount(), 4);
}

TEST(StringList, CustomSortUsesTheGivenOrder) {
    TStringList list;
    list.SetCommaText(u"10,9,100,1");
    list.CustomSort([](TStringList* l, int i, int j) {
        const auto a = l->GetStrings(i).size(), b = l->GetStrings(j).size();
        return a < b ? -1 : a > b ? 1 : AnsiCompareText(l->GetStrings(i), l->GetStrings(j));
    });
    EXPECT_EQ(list.GetCommaText(), u"1,9,10,100");
    EXPECT_EQ(TStringList::StaticClass().parent, &TStrings::StaticClass());
}

TEST(StringList, StreamsCarryTheTextAsUtf8) {
    TStringList list;
    list.SetText(u"Журнал\nдата=01.02.2024\n");
    TStringStream out;
    list.SaveToStream(&out);
    EXPECT_EQ(out.DataString(), "Журнал\r\nдата=01.02.2024\r\n");

    TStringStream in("\xEF\xBB\xBFпервая\nвторая");
    TStringList back;
    back.Add(u"old");
    back.LoadFromStream(&in);
    EXPECT_EQ(Items(back), (std::vector<String>{u"первая", u"вторая"}));

    const auto path =
        std::filesystem::temp_directory_path() / ("moltren-lists-" + std::to_string(::getpid()));
    const String file = UTF8ToString(path.string());
    list.SaveToFile(file);
    back.LoadFromFile(file);
    EXPECT_TRUE(back.Equals(&list));
    std::filesystem::remove(path);
    EXPECT_THROW(back.LoadFromFile(file), EFOpenError);
}
