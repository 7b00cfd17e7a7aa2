#pragma once
// ActnList: actions and action lists, and the links through which an action's
// caption, hint, shortcut, image and enabled state flow to the controls and
// menu items that use it.

#include "platform/core/classes.h"
#include "platform/gui/controls.h"

#include <memory>
#include <vector>

class TBasicAction;
class TCustomActionList;
class TCustomImageList;

using TImageIndex = Integer;

// The client side of an action: told of every change of the action.
class TBasicActionLink : public TObject {
public:
    virtual ~TBasicActionLink() override;
    TBasicAction* GetAction() const { return FAction; }
    virtual void SetAction(TBasicAction* Value);
    // Runs the action on behalf of the client.
    virtual bool Execute(TComponent* AComponent = nullptr);
    TNotifyEvent OnChange;

protected:
    friend class TBasicAction;
    virtual void Change();

private:
    TBasicAction* FAction = nullptr;
};

class TBasicAction : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TBasicAction(TComponent* AOwner);
    ~TBasicAction() override;

    // Runs OnExecute; false when there is none.
    virtual bool Execute();
    virtual bool Update();
    TComponent* GetActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* Value) { FActionComponent = Value; }
    const std::vector<TBasicActionLink*>& Clients() const { return FClients; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    friend class TBasicActionLink;
    void RegisterChanges(TBasicActionLink* Link);
    void UnRegisterChanges(TBasicActionLink* Link);
    virtual void Change();

private:
    std::vector<TBasicActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TContainedAction(TComponent* AOwner);
    void BeforeDestruction() override;

    TCustomActionList* GetActionList() const { return FActionList; }
    void SetActionList(TCustomActionList* Value);
    const String& GetCategory() const { return FCategory; }
    void SetCategory(const String& Value) { FCategory = Value; }
    int GetIndex() const;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

private:
    friend class TCustomActionList;
    TCustomActionList* FActionList = nullptr;
    String FCategory;
};

class TCustomAction : public TContainedAction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomAction(TComponent* AOwner);

    bool Execute() override;

    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    bool GetChecked() const { return FChecked; }
    void SetChecked(bool Value);
    bool GetEnabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int GetHelpContext() const { return FHelpContext; }
    void SetHelpContext(int Value);
    const String& GetHint() const { return FHint; }
    void SetHint(const String& Value);
    TImageIndex GetImageIndex() const { return FImageIndex; }
    void SetImageIndex(TImageIndex Value);
    TShortCut GetShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);

private:
    String FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    int FHelpContext = 0;
    String FHint;
    TImageIndex FImageIndex = -1;
    TShortCut FShortCut = 0;
    bool FVisible = true;
};

class TAction : public TCustomAction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomAction::TCustomAction;
};

// A client's link to a TCustomAction: a value flows from the action only while
// the client still shows the action's current value, so a caption set on the
// client directly stays local.
class TActionLink : public TBasicActionLink {
public:
    TCustomAction* GetCustomAction() const { return dynamic_cast<TCustomAction*>(GetAction()); }
    virtual bool IsCaptionLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsCheckedLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsEnabledLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsHelpContextLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsHintLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsImageIndexLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsShortCutLinked() const { return GetCustomAction() != nullptr; }
    virtual bool IsVisibleLinked() const { return GetCustomAction() != nullptr; }

    virtual void SetCaption(const String& Value) {}
    virtual void SetChecked(bool Value) {}
    virtual void SetEnabled(bool Value) {}
    virtual void SetHelpContext(int Value) {}
    virtual void SetHint(const String& Value) {}
    virtual void SetImageIndex(TImageIndex Value) {}
    virtual void SetShortCut(TShortCut Value) {}
    virtual void SetVisible(bool Value) {}
};

// The link of a client whose properties carry the action's names. A property
// the client lacks keeps the base behaviour; one it has flows while linked.
template <class Client>
class TClientActionLink : public TActionLink {
public:
    explicit TClientActionLink(Client* AClient) : FClient(AClient) {}
    Client* GetClient() const { return FClient; }

    bool IsCaptionLinked() const override { return Same(FClient->GetCaption(), &TCustomAction::GetCaption); }
    bool IsEnabledLinked() const override { return Same(FClient->GetEnabled(), &TCustomAction::GetEnabled); }
    bool IsHelpContextLinked() const override {
        return Same(FClient->GetHelpContext(), &TCustomAction::GetHelpContext);
    }
    bool IsHintLinked() const override { return Same(FClient->GetHint(), &TCustomAction::GetHint); }
    bool IsVisibleLinked() const override { return Same(FClient->GetVisible(), &TCustomAction::GetVisible); }
    bool IsCheckedLinked() const override {
        if constexpr (requires(Client * c) { c->GetChecked(); })
            return Same(FClient->GetChecked(), &TCustomAction::GetChecked);
        else
            return TActionLink::IsCheckedLinked();
    }
    bool IsImageIndexLinked() const override {
        if constexpr (requires(Client * c) { c->GetImageIndex(); })
            return Same(FClient->GetImageIndex(), &TCustomAction::GetImageIndex);
        else
            return TActionLink::IsImageIndexLinked();
    }
    bool IsShortCutLinked() const override {
        if constexpr (requires(Client * c) { c->GetShortCut(); })
            return Same(FClient->GetShortCut(), &TCustomAction::GetShortCut);
        else
            return TActionLink::IsShortCutLinked();
    }

    void SetCaption(const String& Value) override {
        if (IsCaptionLinked()) FClient->SetCaption(Value);
    }
    void SetEnabled(bool Value) override {
        if (IsEnabledLinked()) FClient->SetEnabled(Value);
    }
    void SetHelpContext(int Value) override {
        if (IsHelpContextLinked()) FClient->SetHelpContext(Value);
    }
    void SetHint(const String& Value) override {
        if (IsHintLinked()) FClient->SetHint(Value);
    }
    void SetVisible(bool Value) override {
        if (IsVisibleLinked()) FClient->SetVisible(Value);
    }
    void SetChecked(bool Value) override {
        if constexpr (requires(Client * c) { c->SetChecked(Value); })
            if (IsCheckedLinked()) FClient->SetChecked(Value);
    }
    void SetImageIndex(TImageIndex Value) override {
        if constexpr (requires(Client * c) { c->SetImageIndex(Value); })
            if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
    }
    void SetShortCut(TShortCut Value) override {
        if constexpr (requires(Client * c) { c->SetShortCut(Value); })
            if (IsShortCutLinked()) FClient->SetShortCut(Value);
    }

private:
    template <class V, class A>
    bool Same(const V& Value, A (TCustomAction::*Get)() const) const {
        TCustomAction* action = GetCustomAction();
        return action && Value == (action->*Get)();
    }
    Client* FClient;
};

// The link of a control.
class TControlActionLink : public TClientActionLink<TControl> {
public:
    using TClientActionLink::TClientActionLink;
};

// Points a client's link at an action (nullptr unlinks), keeping the free
// notifications in step; true when the client is now linked and should take
// the action's values.
template <class Link, class MakeLink>
bool LinkAction(TComponent* Client, std::unique_ptr<Link>& ActionLink, TBasicAction* Value, MakeLink Make) {
    TBasicAction* old = ActionLink ? ActionLink->GetAction() : nullptr;
    if (old && old != Value) old->RemoveFreeNotification(Client);
    if (!Value) {
        ActionLink.reset();
        return false;
    }
    if (!ActionLink) ActionLink = Make();
    ActionLink->SetAction(Value);
    Value->FreeNotification(Client);
    return true;
}

class TCustomActionList : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomActionList(TComponent* AOwner);
    void BeforeDestruction() override;

    int GetActionCount() const { return static_cast<int>(FActions.size()); }
    TContainedAction* GetAction(int Index) const;
    const std::vector<TContainedAction*>& Actions() const { return FActions; }
    TCustomImageList* GetImages() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    // Runs the action that has this shortcut; false when none did.
    virtual bool IsShortCut(TShortCut ShortCut);

    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void SetChildOrder(TComponent* Child, int Order) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    void AddAction(TContainedAction* Action);
    void RemoveAction(TContainedAction* Action);

    std::vector<TContainedAction*> FActions;
    TCustomImageList* FImages = nullptr;
};

class TActionList : public TCustomActionList {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomActionList::TCustomActionList;
};
