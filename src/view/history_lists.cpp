#include "view/history_lists.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QTableView>
#include <QWidget>

#include "analysis/analysis_texts.h"
#include "app/property_panel.h"
#include "common/text_codec.h"
#include "common/texts.h"
#include "history/dastrel_doc.h"
#include "ui/gui_text.h"
#include "view/data_list_model.h"
#include "view/record_panel_lines.h"
#include "view/statistics_model.h"
#include "view/view_texts.h"

namespace velorin {

HistoryLists::HistoryLists(Setup setup, QObject* parent)
    : QObject(parent), setup_(std::move(setup)), statisticsTable_(setup_.statistics), dataTable_(setup_.data) {
    const Language language = setup_.display.language;
    const auto range = ShownRange();
    dataModel_ = new DataListModel(setup_.doc, setup_.display, this, range.first, range.second);
    statisticsModel_ = new StatisticsModel(setup_.doc, language, this);
    if (dataTable_) {
        // Set up before the model comes: on an empty header the row settings cost nothing, on
        // one with a row per record they walk every row.
        SetUpDataListTable(*dataTable_);
        dataTable_->setModel(dataModel_);
        ApplyDataListWidths(*dataTable_);
    }
    if (statisticsTable_) {
        statisticsTable_->setModel(statisticsModel_);
        SetUpStatisticsTable(*statisticsTable_);
        auto* copy = new QAction(FromUtf8(AnalysisTextsFor(language).copyRange), statisticsTable_);
        copy->setShortcut(QKeySequence::Copy);
        copy->setShortcutContext(Qt::WidgetShortcut);
        connect(copy, &QAction::triggered, this, &HistoryLists::CopyRangeStatistics);
        statisticsTable_->addAction(copy);
        statisticsTable_->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    statisticsModel_->SetShownRange(range.first, range.second);
}

void HistoryLists::RangeShown() {
    const auto range = ShownRange();
    statisticsModel_->SetShownRange(range.first, range.second);
}

void HistoryLists::CopyRangeStatistics() {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(statisticsModel_->ShownRangeText());
}

HistoryLists::~HistoryLists() {
    // The tables may outlive this object for a moment while their window closes.
    if (dataTable_ && dataTable_->model() == dataModel_) dataTable_->setModel(nullptr);
    if (statisticsTable_ && statisticsTable_->model() == statisticsModel_) statisticsTable_->setModel(nullptr);
}

std::pair<int32_t, int32_t> HistoryLists::ShownRange() const {
    return setup_.shownRange ? setup_.shownRange() : std::make_pair(0, setup_.doc->Set().recordCount);
}

void HistoryLists::Open() {
    FillPanel();
    Refill();
}

void HistoryLists::Refill() {
    const auto range = ShownRange();
    dataModel_->Rebuild(range.first, range.second);
    statisticsModel_->SetShownRange(range.first, range.second);
    statisticsModel_->Rebuild();
    if (dataTable_) ApplyDataListWidths(*dataTable_);
    if (statisticsTable_) ApplyStatisticsWidths(*statisticsTable_);
}

void HistoryLists::FillPanel() {
    const std::vector<PanelLine> lines = BuildRecordPanelLines(setup_.doc->Set(), setup_.display.language);
    if (setup_.fillPanel) {
        setup_.fillPanel(lines);
        return;
    }
    auto* host = qobject_cast<QWidget*>(parent());
    PropertyPanel* panel = host != nullptr ? host->window()->findChild<PropertyPanel*>() : nullptr;
    if (panel != nullptr) panel->Fill(lines);
}

bool HistoryLists::SwitchF0On(float referenceTemperature, float zValue) {
    const auto range = ShownRange();
    const F0Switch result =
        // Channel 2's quantity and unit become texts of the data set: GBK, like the file's own.
        f0_.SwitchOn(setup_.doc->Set(), range.first, range.second, referenceTemperature, zValue,
                     Utf8ToGbk(ViewTextsFor(setup_.display.language).f0Quantity),
                     Utf8ToGbk(ViewTextsFor(setup_.display.language).f0Unit));
    if (!result.changed) return false;
    FillPanel();
    Refill();
    emit F0Switched(result);
    return true;
}

void HistoryLists::SwitchF0Off() {
    const F0Switch result = f0_.SwitchOff(setup_.doc->Set());
    FillPanel();
    Refill();
    emit F0Switched(result);
}

void HistoryLists::ShowSelected(const QStringList& texts) { statisticsModel_->SetSelected(texts); }

}  // namespace velorin
