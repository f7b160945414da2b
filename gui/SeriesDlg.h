// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <vector>

#include <QDialog>

#include "core/dispense/SeriesPlanner.h"

class MainWindow;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QListView;
class QProgressBar;
class QPushButton;
class QStringListModel;
class QTableWidget;
class QThread;
class QTimer;

// The modal "Plan Series" dialog: plans the entries onto as many media of one
// kind as they need (the picked target, a blank disc or one the user
// describes) on a worker thread, shows the media with what goes on each and
// the entries none can hold, exports the lists, and ends accepted when the
// user dispenses one medium. Changing the medium or closing the dialog cancels
// a running plan and waits for its thread.
class SeriesDlg : public QDialog
{
    Q_OBJECT
public:
    // window: answers the folder question of Export and shows its errors.
    // picked: the model's target, no Path when there is none.
    SeriesDlg(MainWindow* window, const Target& picked, std::vector<SeriesEntry> entries,
              bool canDispense);
    ~SeriesDlg() override;

    // The medium of "Dispense This Medium", once the dialog ended accepted.
    const SeriesMedium& chosen() const { return m_chosen; }
    // The plan shown; empty while one is being made.
    const SeriesResult& result() const { return m_result; }
    bool planning() const { return m_thread != nullptr; }
    // The medium the plan is made for.
    Target medium() const;

    void done(int r) override;

private slots:
    void on_mediumChanged();
    void on_otherChanged();
    void on_selectionChanged();
    void on_cancelPlan();
    void on_export();
    void on_dispense();

private:
    void startPlan();
    // Cancels the plan being made and waits for its thread; nothing it
    // reports afterwards is shown.
    void stopPlan();
    void planEnded();
    void showProgress(const SeriesPlanner::Progress& p);
    void showResult();
    void storeMediumChoice() const;
    void restoreMediumChoice();
    // The block sizes the file system allows, keeping the chosen one if it may.
    void fillBlockSizes(int fileSystem);
    QString pathOf(const EntryPos& pos) const;

    MainWindow* m_window;
    std::vector<SeriesEntry> m_entries; // in list order, so sorted by position
    bool m_canDispense;
    QStringList m_dispensed;     // the paths of the Dispensed group, which are not planned
    std::vector<Target> m_kinds; // one per medium item, "Other..." not among them

    std::unique_ptr<SeriesPlanner> m_planner;
    QThread* m_thread = nullptr;
    int m_generation = 0; // reports of an older plan are dropped
    bool m_cancelled = false;
    QString m_failure;
    SeriesResult m_result;
    SeriesMedium m_chosen;

    QComboBox* m_mediumBox;
    QWidget* m_otherRow;
    QComboBox* m_fsBox;
    QComboBox* m_blockBox;
    QDoubleSpinBox* m_capacityBox;
    QComboBox* m_unitBox;
    QTimer* m_otherTimer;
    QWidget* m_progressRow;
    QProgressBar* m_progress;
    QLabel* m_progressText;
    QLabel* m_summary;
    QTableWidget* m_table;
    QLabel* m_listTitle;
    QListView* m_list;
    QStringListModel* m_listModel;
    QLabel* m_exportLine;
    QLabel* m_dispenseNote;
    QPushButton* m_exportButton;
    QPushButton* m_dispenseButton;
};
