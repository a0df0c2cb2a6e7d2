#include "radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cassert>

namespace velkaran {

TRadioGroup::TRadioGroup(const QString &Caption, const QStringList &Items, QWidget *Parent)
    : QGroupBox(Caption, Parent), Buttons(new QButtonGroup(this)) {
    auto *Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(8, 2, 8, 4);
    Layout->setSpacing(0);
    for (int Index = 0; Index < Items.size(); ++Index) {
        auto *Button = new QRadioButton(Items[Index], this);
        Buttons->addButton(Button, Index);
        ItemButtons.push_back(Button);
        Layout->addWidget(Button);
    }
    if (!ItemButtons.empty()) ItemButtons.front()->setChecked(true);
    connect(Buttons, &QButtonGroup::idToggled, this, [this](int, bool Checked) {
        if (Checked && OnClick) OnClick();
    });
}

int TRadioGroup::ItemIndex() const { return Buttons->checkedId(); }

void TRadioGroup::SetItemIndex(int Index) { Item(Index)->setChecked(true); }

QRadioButton *TRadioGroup::Item(int Index) const {
    assert(Index >= 0 && static_cast<size_t>(Index) < ItemButtons.size() && "radio item out of range");
    return ItemButtons[static_cast<size_t>(Index)];
}

}  // namespace velkaran
