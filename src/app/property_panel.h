// The property panel: a bar docked on the left that shows DeviceInfo as a two-level tree
// (title picture, hide button, background picture, tree).
//
// Threading: GUI thread only. A worker that builds lines (BuildPanelLines) hands them over with
// FillQueued(), which queues the change to the GUI thread.
#pragma once

#include <QDockWidget>
#include <QStringList>
#include <vector>

#include "device/panel_lines.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace velorin {

class PropertyPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit PropertyPanel(QWidget* parent = nullptr);

    // Rebuilds the tree from scratch (depth 0 = root item, 1 = child, 2 = grandchild).
    void Fill(const std::vector<PanelLine>& lines);
    // Thread-safe: queues Fill on the GUI thread.
    void FillQueued(std::vector<PanelLine> lines);

    QTreeWidget* Tree() const { return tree_; }
    // The tree as text, children indented by two blanks per level (for comparisons).
    QStringList TreeText() const;

protected:
    // The user may widen the docked panel; the width is kept and restored at the next start.
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Layout();

    QWidget* body_ = nullptr;
    QLabel* title_ = nullptr;
    QPushButton* hide_ = nullptr;
    QLabel* background_ = nullptr;
    QTreeWidget* tree_ = nullptr;
    int titleWidth_ = 0;          // width of the title picture after scaling
    bool widthRestored_ = false;  // the kept width was applied when the panel was first shown
};

}  // namespace velorin
