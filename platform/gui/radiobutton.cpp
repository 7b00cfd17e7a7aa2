#include "platform/gui/radiobutton.h"

#include "platform/gui/qtbridge.h"

#include <QRadioButton>

const ClassInfo& TRadioButton::StaticClass() {
    using C = TRadioButton;
    static const PropInfo props[] = {
        MakeProp<&C::GetAlignment, &C::SetAlignment>("Alignment").Default(taRightJustify),
        MakeProp<&C::GetCaption, &C::SetCaption>("Caption").Stored<&C::IsCaptionStored>(),
        MakeProp<&C::GetChecked, &C::SetChecked>("Checked").Default(false),
    };
    static const ClassInfo ci =
        MakeClassInfo<TRadioButton>("TRadioButton", &TButtonControl::StaticClass(), props);
    return ci;
}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
    FButton = new QRadioButton();
    // Our own flags decide which button of a parent is checked, so that code and clicks agree.
    FButton->setAutoExclusive(false);
    SetWidget(FButton);
    SetReportsClicks(false);
    SetBounds(0, 0, 113, 17);
    QObject::connect(FButton, &QRadioButton::clicked, [this](bool) {
        gui_detail::Guarded(this, [this] {
            if (FChecked) {
                const QSignalBlocker block(FButton);
                FButton->setChecked(true); // a click on a checked button keeps it checked
                return;
            }
            SetChecked(true);
        });
    });
}

void TRadioButton::SetText(const String& Value) {
    FButton->setText(ToQString(Value));
}

String TRadioButton::GetText() const {
    return FromQString(FButton->text());
}

void TRadioButton::UncheckSiblings() {
    TWinControl* parent = GetParent();
    if (!parent) return;
    for (int i = 0; i < parent->GetControlCount(); ++i)
        if (auto* other = dynamic_cast<TRadioButton*>(parent->GetControl(i)); other && other != this)
            other->SetChecked(false);
}

void TRadioButton::SetChecked(bool Value) {
    if (FChecked == Value) return;
    FChecked = Value;
    {
        const QSignalBlocker block(FButton);
        FButton->setChecked(Value);
    }
    if (!Value) return;
    UncheckSiblings();
    if (!GetComponentState().Contains(csLoading)) Click();
}

void RegisterRadioButtonClasses() {
    RegisterClasses({&TRadioButton::StaticClass()});
}
