#pragma once
// Menus: menu items (a tree of components), the main menu of a form, popup
// menus, and the shortcut helpers.

#include "platform/core/classes.h"
#include "platform/gui/actnlist.h"
#include "platform/gui/controls.h"

#include <memory>
#include <vector>

#include "platform/core/sysutils.h"

class EMenuError : public Exception {
public:
    using Exception::Exception;
};

class QAction;
class QMenu;
class QMenuBar;
class TMenu;
class TCustomImageList;

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Ctrl+R", "Shift+F1"; empty for no shortcut.
String ShortCutToText(TShortCut ShortCut);
// The reverse; 0 when the text names no shortcut.
TShortCut TextToShortCut(const String& Text);

class TMenuItem : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;
    void BeforeDestruction() override;

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value) { FHint = Value; }
    TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value);
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value) { FHelpContext = Value; }
    Byte GetGroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(Byte Value) { FGroupIndex = Value; }
    bool GetRadioItem() const { return FRadioItem; }
    void SetRadioItem(bool Value);
    bool GetDefault() const { return FDefault; }
    void SetDefault(bool Value);
    bool IsLine() const { return FCaption == u"-"; }

    TBasicAction* GetAction() const;
    void SetAction(TBasicAction* Value);
    TActionLink* GetActionLink() const { return FActionLink.get(); }
    void ActionChange(TObject* Sender, bool CheckDefaults);

    // The item's children.
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TMenuItem* GetItem(int Index) const;
    TMenuItem* operator[](int Index) const { return GetItem(Index); }
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    void Clear();
    int IndexOf(const TMenuItem* Item) const;
    TMenuItem* Find(const String& ACaption) const;
    TMenuItem* GetParent() const { return FParent; }
    int GetMenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    TMenu* GetParentMenu() const;

    // Runs the handler or the action.
    virtual void Click();

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

    bool IsCaptionStored() const;
    bool IsEnabledStored() const;
    bool IsShortCutStored() const;

    TNotifyEvent OnClick;

    // Platform side: the Qt action that shows this item, its submenu.
    QAction* Action() const { return FQAction; }
    QMenu* SubMenu() const { return FSubMenu; }

private:
    friend class TMenu;
    void UpdateQAction();
    void EnsureSubMenu();
    void AttachChildAction(TMenuItem* Child);

    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    TShortCut FShortCut = 0;
    String FHint;
    TImageIndex FImageIndex = -1;
    int FHelpContext = 0;
    Byte FGroupIndex = 0;
    bool FRadioItem = false;
    bool FDefault = false;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr; // set on a menu's root item
    std::unique_ptr<TActionLink> FActionLink;
    QAction* FQAction = nullptr;
    QMenu* FSubMenu = nullptr;
};

// The link of a menu item: every value of the action flows to it while linked.
class TMenuActionLink : public TClientActionLink<TMenuItem> {
public:
    using TClientActionLink::TClientActionLink;
};

class TMenu : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;
    void BeforeDestruction() override;

    TMenuItem* GetItems() const { return FItems.get(); }
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    // Clicks the enabled item with this shortcut; false when there is none.
    bool IsShortCut(TShortCut ShortCut);
    TMenuItem* FindItemByShortCut(TShortCut ShortCut) const;

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    friend class TMenuItem;
    // Where the root items' actions go (a menu bar or a popup menu).
    virtual QWidget* RootWidget() const = 0;
    void RefreshImages();

private:
    Owned<TMenuItem> FItems;
    TCustomImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;

    bool GetAutoMerge() const { return FAutoMerge; }
    void SetAutoMerge(bool Value) { FAutoMerge = Value; }

    // Platform side: the form shows this bar above its client area.
    QMenuBar* MenuBar() const { return FBar; }

protected:
    QWidget* RootWidget() const override;

private:
    QMenuBar* FBar = nullptr;
    bool FAutoMerge = false;
};

enum TPopupAlignment : std::uint8_t { paLeft, paRight, paCenter };
template <>
const EnumInfo& EnumInfoOf<TPopupAlignment>();

class TPopupMenu : public TMenu {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Shows the menu at a screen position and returns when it has closed.
    virtual void Popup(int X, int Y);
    TComponent* GetPopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
    bool GetAutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool Value) { FAutoPopup = Value; }
    TPopupAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment Value) { FAlignment = Value; }

    TNotifyEvent OnPopup;

    // Platform side.
    QMenu* Menu() const { return FMenu; }

protected:
    QWidget* RootWidget() const override;

private:
    QMenu* FMenu = nullptr;
    TComponent* FPopupComponent = nullptr;
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
};

// Test seam: instead of showing a popup menu, hands it to the hook (which may
// click one of its items).
using TPopupHook = std::function<void(TPopupMenu* Menu, int X, int Y)>;
void SetPopupHook(TPopupHook Hook);
