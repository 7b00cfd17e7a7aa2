#pragma once
// A small component tree that uses every value type of the component stream:
// a root with published methods, items with every kind of property, nested
// persistent objects, defined (list and binary) properties, a panel that
// parents other items, references between siblings and events by name.

#include "platform/core/filer.h"
#include "platform/core/sysutils.h"
#include "tests/support/testclass.h"

#include <string>
#include <vector>

namespace streaming_fixtures {

enum TShade : std::uint8_t { shNone, shLight, shDark };
enum TMark : std::uint8_t { mkBold, mkItalic, mkUnder, mkStrike };
enum TTestColor : std::int32_t {}; // an integer type whose values have names

} // namespace streaming_fixtures

template <>
inline const EnumInfo& EnumInfoOf<streaming_fixtures::TShade>() {
    static const EnumInfo info{"TShade", {"shNone", "shLight", "shDark"}};
    return info;
}
template <>
inline const EnumInfo& EnumInfoOf<streaming_fixtures::TMark>() {
    static const EnumInfo info{"TMark", {"mkBold", "mkItalic", "mkUnder", "mkStrike"}};
    return info;
}

namespace streaming_fixtures {
inline bool ColorToIdent(std::int64_t v, std::string& s) {
    if (v == static_cast<std::int32_t>(0xFF00000F))
        s = "clBtnFace";
    else if (v == 0xFF)
        s = "clRed";
    else
        return false;
    return true;
}
inline bool IdentToColor(std::string_view s, std::int64_t& v) {
    if (SameIdent(s, "clBtnFace"))
        v = static_cast<std::int32_t>(0xFF00000F);
    else if (SameIdent(s, "clRed"))
        v = 0xFF;
    else
        return false;
    return true;
}
inline constexpr IntIdentMap kColorIdents{&ColorToIdent, &IdentToColor};
} // namespace streaming_fixtures

template <>
struct IntIdentsOf<streaming_fixtures::TTestColor> {
    static constexpr const IntIdentMap* value = &streaming_fixtures::kColorIdents;
};

namespace streaming_fixtures {

// Every Loaded call, in order, with what the component saw at that moment.
inline std::vector<std::string>& LoadedLog() {
    static std::vector<std::string> log;
    return log;
}

class TStreamFont : public TPersistent {
public:
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {
            MakeProp<&TStreamFont::FName, &TStreamFont::FName>("Name"),
            MakeProp<&TStreamFont::FSize, &TStreamFont::FSize>("Size").Default(10),
            MakeProp<&TStreamFont::FStyle, &TStreamFont::FStyle>("Style").Default(0),
        };
        static const ClassInfo ci =
            MakeClassInfo<TStreamFont>("TStreamFont", &TPersistent::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }

    String FName = u"Arial";
    int FSize = 10;
    Set<TMark> FStyle;
};

// A collection item with a reference: fixed up like any other.
class TStreamColumn : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {
            MakeProp<&TStreamColumn::FWidth, &TStreamColumn::FWidth>("Width").Default(64),
            MakeProp<&TStreamColumn::FTitle, &TStreamColumn::FTitle>("Title"),
            MakeProp<&TStreamColumn::FTarget, &TStreamColumn::FTarget>("Target"),
        };
        static const ClassInfo ci =
            MakeClassInfo<TStreamColumn>("TStreamColumn", &TCollectionItem::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }

    int FWidth = 64;
    String FTitle;
    TComponent* FTarget = nullptr;
};

class TStreamItem : public TComponent {
public:
    using TComponent::TComponent;
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {
            MakeProp<&TStreamItem::FCount, &TStreamItem::FCount>("Count").Default(3),
            MakeProp<&TStreamItem::FBig, &TStreamItem::FBig>("Big"),
            MakeProp<&TStreamItem::FLetter, &TStreamItem::FLetter>("Letter"),
            MakeProp<&TStreamItem::FEnabled, &TStreamItem::FEnabled>("Enabled").Default(1),
            MakeProp<&TStreamItem::FAutoSize, &TStreamItem::FAutoSize>("AutoSize").Default(0),
            MakeProp<&TStreamItem::FShade, &TStreamItem::FShade>("Shade").Default(shNone),
            MakeProp<&TStreamItem::FMarks, &TStreamItem::FMarks>("Marks"),
            MakeProp<&TStreamItem::FColor, &TStreamItem::FColor>("Color"),
            MakeProp<&TStreamItem::FWeight, &TStreamItem::FWeight>("Weight"),
            MakeProp<&TStreamItem::FPrecise, &TStreamItem::FPrecise>("Precise").Float(FloatKind::Double),
            MakeProp<&TStreamItem::FRatio, &TStreamItem::FRatio>("Ratio").Float(FloatKind::Single),
            MakeProp<&TStreamItem::FPrice, &TStreamItem::FPrice>("Price").Float(FloatKind::Currency),
            MakeProp<&TStreamItem::FWhen, &TStreamItem::FWhen>("When").Float(FloatKind::Date),
            MakeProp<&TStreamItem::FCaption, &TStreamItem::FCaption>("Caption"),
            MakeProp<&TStreamItem::GetFont>("Font"),
            MakeProp<&TStreamItem::GetLines>("Lines"),
            MakeProp<&TStreamItem::GetColumns>("Columns"),
            MakeProp<&TStreamItem::FBuddy, &TStreamItem::FBuddy>("Buddy"),
            MakeProp<&TStreamItem::FPartner, &TStreamItem::FPartner>("Partner")
                .Stored<&TStreamItem::IsPartnerStored>(),
            MakeProp<&TStreamItem::FOnChange>("OnChange"),
        };
        static const ClassInfo ci =
            MakeClassInfo<TStreamItem>("TStreamItem", &TComponent::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TStreamFont* GetFont() const { return FFont.get(); }
    TStringList* GetLines() const { return FLines.get(); }
    TOwnedCollection* GetColumns() const { return FColumns.get(); }
    TStreamColumn* Column(int i) const { return static_cast<TStreamColumn*>(FColumns->GetItem(i)); }

    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation != opRemove) return;
        if (AComponent == FBuddy) FBuddy = nullptr;
        if (AComponent == FPartner) FPartner = nullptr;
        if (AComponent == FParent) FParent = nullptr;
        for (TCollectionItem* item : *FColumns)
            if (static_cast<TStreamColumn*>(item)->FTarget == AComponent)
                static_cast<TStreamColumn*>(item)->FTarget = nullptr;
    }

    // "Extra": a list of strings; "Data": raw bytes. Both only when present.
    void DefineProperties(TFiler* Filer) override {
        Filer->DefineProperty(
            "Extra",
            [this](TReader* r) {
                r->ReadListBegin();
                while (!r->EndOfList()) FExtra.push_back(r->ReadString());
                r->ReadListEnd();
            },
            [this](TWriter* w) {
                w->WriteListBegin();
                for (const String& s : FExtra) w->WriteString(s);
                w->WriteListEnd();
            },
            !FExtra.empty());
        Filer->DefineBinaryProperty(
            "Data",
            [this](TStream* s) {
                FData.resize(static_cast<std::size_t>(s->GetSize()));
                s->ReadBuffer(FData.data(), static_cast<LongInt>(FData.size()));
            },
            [this](TStream* s) { s->WriteBuffer(FData.data(), static_cast<LongInt>(FData.size())); },
            !FData.empty());
    }

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* Value) override {
        FParent = Value;
        if (Value) Value->FreeNotification(this);
    }
    void Loaded() override {
        TComponent::Loaded();
        LoadedLog().push_back(UTF8Encode(GetName()) + (FBuddy ? ">" + UTF8Encode(FBuddy->GetName()) : "") +
                              (GetComponentState().Contains(csLoading) ? " loading" : ""));
    }
    bool IsPartnerStored() const { return GetTag() != 0; } // whatever the value

    int FCount = 3;
    Int64 FBig = 0;
    Char FLetter = u'a';
    bool FEnabled = true;
    bool FAutoSize = false;
    TShade FShade = shNone;
    Set<TMark> FMarks;
    TTestColor FColor{};
    double FWeight = 0;
    double FPrecise = 0;
    float FRatio = 0;
    double FPrice = 0;
    TDateTime FWhen = 0;
    String FCaption;
    Owned<TStreamFont> FFont{Create<TStreamFont>()};
    Owned<TStringList> FLines{Create<TStringList>()};
    Owned<TOwnedCollection> FColumns{Create<TOwnedCollection>(this, TStreamColumn::StaticClass())};
    TComponent* FBuddy = nullptr;
    TStreamItem* FPartner = nullptr;
    TNotifyEvent FOnChange;
    std::vector<String> FExtra;
    std::vector<Byte> FData;
    TComponent* FParent = nullptr;
};

// An item that parents other items: they are written inside its record.
class TStreamPanel : public testsupport::TTestClass<TStreamPanel, TStreamItem, "TStreamPanel"> {
public:
    using TTestClass::TTestClass;

    void GetChildren(TGetChildProc Proc, TComponent* Root) override {
        for (TComponent* c : Root->Components())
            if (c->GetParentComponent() == this) Proc(c);
    }
};

// The root: owns everything, writes the items without a parent as its children
// and publishes the handlers that events bind to by name.
class TStreamRoot : public TComponent {
public:
    using TComponent::TComponent;
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {
            MakeProp<&TStreamRoot::FTitle, &TStreamRoot::FTitle>("Title"),
        };
        static const MethodInfo methods[] = {
            MakeMethod<&TStreamRoot::ItemChange>("ItemChange"),
            MakeMethod<&TStreamRoot::Resized>("Resized"),
        };
        static const ClassInfo ci =
            MakeClassInfo<TStreamRoot>("TStreamRoot", &TComponent::StaticClass(), props, methods);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }

    void GetChildren(TGetChildProc Proc, TComponent* Root) override {
        for (TComponent* c : Components())
            if (!c->GetParentComponent() || c->GetParentComponent() == this) Proc(c);
    }
    void Loaded() override {
        TComponent::Loaded();
        LoadedLog().push_back("root " + UTF8Encode(GetName()));
    }

    void ItemChange(TObject* Sender) { Changes.push_back(static_cast<TComponent*>(Sender)); }
    void Resized(int Width) {}

    String FTitle;
    std::vector<TComponent*> Changes;
};

inline void RegisterFixtureClasses() {
    RegisterClasses({&TStreamRoot::StaticClass(), &TStreamItem::StaticClass(), &TStreamPanel::StaticClass()});
}

// A root with three items and a panel holding one more, every property set.
inline TStreamRoot* MakeTree() {
    auto* root = Create<TStreamRoot>(nullptr);
    root->SetName(u"Root1");
    root->FTitle = u"Every value";

    auto* a = Create<TStreamItem>(root);
    a->SetName(u"ItemA");
    a->FCount = 1000;                                // int16
    a->FBig = Int64{1} << 40;                        // int64
    a->FLetter = u'Ж';                               // a wide char
    a->FEnabled = false;                             // false
    a->FAutoSize = true;                             // true
    a->FShade = shDark;                              // ident
    a->FMarks = {mkBold, mkStrike};                  // set
    a->FColor = static_cast<TTestColor>(0xFF00000F); // integer written by name
    a->FWeight = 0.1;                                // extended
    a->FPrecise = -1.5e-300;                         // double
    a->FRatio = 0.25f;                               // single
    a->FPrice = 12.3456;                             // currency
    a->FWhen = 45000.5;                              // date
    a->FCaption = String(300, u'x');                 // long string
    a->FFont->FName = u"Liberation Sans";            // nested object
    a->FFont->FStyle = {mkItalic};
    a->FExtra = {u"one", u"Два"};     // list: string and wide string
    a->FData = {0, 1, 2, 0xFE, 0xFF}; // binary
    a->FOnChange.Bind(root, &TStreamRoot::ItemChange, "ItemChange");
    a->FLines->Add(u"first line"); // a list property of a sub-object
    a->FLines->Add(u"вторая");

    auto* panel = Create<TStreamPanel>(root);
    panel->SetName(u"Panel1");
    panel->FCount = 100000;                 // int32
    panel->FCaption = u"Caf\u00e9 au lait"; // UTF-8 is shorter than UTF-16 here
    panel->FColor = static_cast<TTestColor>(12345);
    panel->SetTag(1); // nil written because the stored test asks

    auto* b = Create<TStreamItem>(root);
    b->SetName(u"ItemB");
    b->SetParentComponent(panel);
    b->FCount = -5; // int8
    b->FBuddy = a;  // reference to an earlier sibling
    b->FPartner = nullptr;
    b->FCaption = u"Заголовок"; // UTF-16 is not longer than UTF-8

    auto* c = Create<TStreamItem>(root);
    c->SetName(u"ItemC");
    c->FBuddy = root; // the root itself ("Owner")
    c->FPartner = a;
    c->SetTag(-1);
    c->FEnabled = true; // default: not written

    a->FBuddy = c;                                                   // reference to a later sibling: a fix-up
    auto* col = static_cast<TStreamColumn*>(panel->FColumns->Add()); // a collection
    col->FTitle = u"Date";
    col->FTarget = c;
    static_cast<TStreamColumn*>(panel->FColumns->Add())->FWidth = 80;
    return root;
}

inline std::string StreamBytes(TMemoryStream& s) {
    return std::string(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.GetSize()));
}

inline std::string WriteTree(TComponent* root) {
    TMemoryStream s;
    s.WriteComponent(root);
    return StreamBytes(s);
}

// A memory stream holding bytes, positioned at its start.
inline Owned<TMemoryStream> StreamOf(const std::string& bytes) {
    Owned<TMemoryStream> s(Create<TMemoryStream>());
    s->WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
    s->SetPosition(0);
    return s;
}

inline TComponent* ReadTree(const std::string& bytes, TComponent* into = nullptr) {
    return StreamOf(bytes)->ReadComponent(into);
}

} // namespace streaming_fixtures
