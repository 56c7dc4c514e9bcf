#pragma once

#include <QAbstractItemModel>
#include <memory>
#include <vector>

// The folders of one drive as a tree, read from the platform's listing as branches are
// opened, so it works for every drive letter, an unmounted disc included. Hidden folders
// are left out, as the folder chooser of the import has always done.
class FolderTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit FolderTreeModel(QObject *parent = nullptr);
    ~FolderTreeModel() override;

    // Shows the tree of a drive; its root is the only top-level row.
    void setDrive(char letter);
    char drive() const { return m_letter; }
    // The folder in letter form: "c:\" for the root, "c:\Music\Rock" below it.
    QString letterPath(const QModelIndex &index) const;
    // The path below the drive's root, '/'-separated; empty for the root.
    QString relativePath(const QModelIndex &index) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct Node;
    Node *node(const QModelIndex &index) const;

    char m_letter = 0;
    std::unique_ptr<Node> m_root;
};
