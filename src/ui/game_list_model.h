// The list of a match's games as a table model: a row per game, its cells made on demand, so
// that a series of any length costs no more than its small rows.
#pragma once

#include <QAbstractTableModel>

#include <memory>

namespace velkaran {

struct TMatchResults;

class TGameListModel : public QAbstractTableModel {
public:
    explicit TGameListModel(QObject *Parent = nullptr) : QAbstractTableModel(Parent) {}

    // Shows the games of Results (none for null).
    void SetResults(std::shared_ptr<const TMatchResults> Results);

    int rowCount(const QModelIndex &Parent = {}) const override;
    int columnCount(const QModelIndex &Parent = {}) const override;
    QVariant data(const QModelIndex &Index, int Role) const override;
    QVariant headerData(int Section, Qt::Orientation Orientation, int Role) const override;

private:
    std::shared_ptr<const TMatchResults> Results;
};

}  // namespace velkaran
