// A captioned group of radio buttons with one selected item.
#pragma once

#include <QGroupBox>

#include <functional>
#include <vector>

class QButtonGroup;
class QRadioButton;

namespace velkaran {

class TRadioGroup : public QGroupBox {
public:
    // A group captioned Caption with one radio button per entry of Items, the first one selected.
    TRadioGroup(const QString &Caption, const QStringList &Items, QWidget *Parent = nullptr);

    // The selected item's index.
    int ItemIndex() const;
    // Selects item Index (runs OnClick when the selection changes).
    void SetItemIndex(int Index);
    // The radio button of item Index.
    QRadioButton *Item(int Index) const;

    // Runs whenever another item becomes selected, by the user or by SetItemIndex.
    std::function<void()> OnClick;

private:
    QButtonGroup *Buttons;
    std::vector<QRadioButton *> ItemButtons;
};

}  // namespace velkaran
