#pragma once

#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

#include "control/IViewActions.h"
#include "control/IViewDialogs.h"
#include "control/IViewItems.h"
#include "control/IViewStatus.h"
#include "core/model/SizeText.h"

// Recording stand-ins for the four views. Every call is appended to one shared
// log as a line of text, so a test can compare the exact sequence of calls.
struct CallLog
{
    QStringList lines;
    void add(const QString& line) { lines.append(line); }
    QStringList take()
    {
        QStringList out = lines;
        lines.clear();
        return out;
    }
};

inline QString posText(const EntryPos& p)
{
    return QStringLiteral("{%1,%2}").arg(p.group).arg(p.index);
}

class FakeDialogs : public IViewDialogs
{
public:
    explicit FakeDialogs(CallLog& log) : m_log(log) {}

    // Answers for the next dialogs; a dialog without an answer is cancelled.
    QStringList nextFiles;
    QString nextFolder, nextSavePath, nextLoadPath;
    bool hasFiles = false, hasFolder = false, hasSavePath = false, hasLoadPath = false;
    std::function<bool()> onPickTarget;
    std::function<bool(Dispenser*)> onRunDispense;
    SaveChoice nextSaveChoice = CancelClose;
    bool confirmDelete = true;
    QString title;

    void setTitle(const QString& t) override
    {
        title = t;
        m_log.add(QStringLiteral("setTitle ") + t);
    }
    bool askFolderAdd(QString& folder) override
    {
        m_log.add(QStringLiteral("askFolderAdd"));
        if (!hasFolder)
            return false;
        hasFolder = false;
        folder = nextFolder;
        return true;
    }
    bool askFilesAdd(QStringList& files) override
    {
        m_log.add(QStringLiteral("askFilesAdd"));
        if (!hasFiles)
            return false;
        hasFiles = false;
        files = nextFiles;
        return true;
    }
    bool askProjectSaveAs(QString& path) override
    {
        m_log.add(QStringLiteral("askProjectSaveAs"));
        if (!hasSavePath)
            return false;
        hasSavePath = false;
        path = nextSavePath;
        return true;
    }
    bool askProjectLoad(QString& path) override
    {
        m_log.add(QStringLiteral("askProjectLoad"));
        if (!hasLoadPath)
            return false;
        hasLoadPath = false;
        path = nextLoadPath;
        return true;
    }
    bool pickTarget() override
    {
        m_log.add(QStringLiteral("pickTarget"));
        return onPickTarget ? onPickTarget() : false;
    }
    bool runDispense(Dispenser* d) override
    {
        m_log.add(QStringLiteral("runDispense"));
        return onRunDispense ? onRunDispense(d) : false;
    }
    void showAbout() override { m_log.add(QStringLiteral("showAbout")); }
    void closeMainWindow() override { m_log.add(QStringLiteral("closeMainWindow")); }
    SaveChoice askSaveChanges() override
    {
        m_log.add(QStringLiteral("askSaveChanges"));
        return nextSaveChoice;
    }
    bool confirmOriginalsDelete(int files, int folders) override
    {
        m_log.add(QStringLiteral("confirmOriginalsDelete %1 %2").arg(files).arg(folders));
        return confirmDelete;
    }

private:
    CallLog& m_log;
};

class FakeActions : public IViewActions
{
public:
    explicit FakeActions(CallLog& log) : m_log(log) {}

    // The enabled states as the real actions would hold them (start states).
    bool entryActions = false, save = false, dispense = false, dispensed = false;

    void enableEntryActions(bool on) override
    {
        entryActions = on;
        m_log.add(QStringLiteral("enableEntryActions %1").arg(on));
    }
    void enableSave(bool on) override
    {
        save = on;
        m_log.add(QStringLiteral("enableSave %1").arg(on));
    }
    void enableDispense() override
    {
        dispense = true;
        m_log.add(QStringLiteral("enableDispense"));
    }
    void disableDispense() override
    {
        dispense = false;
        m_log.add(QStringLiteral("disableDispense"));
    }
    void setDispensed(bool d) override
    {
        dispense = !d;
        dispensed = d;
        m_log.add(QStringLiteral("setDispensed %1").arg(d));
    }

private:
    CallLog& m_log;
};

class FakeItems : public IViewItems
{
public:
    explicit FakeItems(CallLog& log) : m_log(log) {}

    std::vector<EntryPos> selection; // what selectedPositions hands out
    int current = NoGroup;

    void insertItem(const EntryPos& pos) override
    {
        m_log.add(QStringLiteral("insertItem ") + posText(pos));
    }
    void removeItem(const EntryPos& pos) override
    {
        m_log.add(QStringLiteral("removeItem ") + posText(pos));
    }
    void updateItemSize(const EntryPos& pos) override
    {
        m_log.add(QStringLiteral("updateItemSize ") + posText(pos));
    }
    void moveItem(const EntryPos& from, const EntryPos& to) override
    {
        m_log.add(QStringLiteral("moveItem ") + posText(from) + QLatin1Char(' ') + posText(to));
    }
    void rebuildItems() override { m_log.add(QStringLiteral("rebuildItems")); }
    int selectedCount() override { return int(selection.size()); }
    void selectedPositions(std::vector<EntryPos>& out) override { out = selection; }
    int currentGroup() override { return current; }
    void selectAllInGroup(int group) override
    {
        m_log.add(QStringLiteral("selectAllInGroup %1").arg(group));
    }
    void invertSelectionInGroup(int group) override
    {
        m_log.add(QStringLiteral("invertSelectionInGroup %1").arg(group));
    }

private:
    CallLog& m_log;
};

class FakeStatus : public IViewStatus
{
public:
    explicit FakeStatus(CallLog& log) : m_log(log) {}

    QString state;

    void showState(const QString& text) override
    {
        state = text;
        m_log.add(QStringLiteral("showState ") + text);
    }
    void showTarget(const Target& target, quint64 capacity) override
    {
        m_log.add(QStringLiteral("showTarget %1 %2").arg(target.Path).arg(capacity));
    }
    void showWasted(quint64 bytes) override
    {
        m_log.add(QStringLiteral("showWasted %1").arg(bytes));
    }
    void showNoTarget() override { m_log.add(QStringLiteral("showNoTarget")); }
    void showNoWasted() override { m_log.add(QStringLiteral("showNoWasted")); }
    void showSelected(quint64 bytes, int count) override
    {
        m_log.add(QStringLiteral("showSelected %1 %2").arg(bytes).arg(count));
    }
    void showTotal(quint64 bytes, int count) override
    {
        m_log.add(QStringLiteral("showTotal %1 %2").arg(bytes).arg(count));
    }

private:
    CallLog& m_log;
};

// The four fakes around one log, attached to the controller in that order.
struct FakeViews
{
    CallLog log;
    FakeDialogs dialogs{log};
    FakeActions actions{log};
    FakeItems items{log};
    FakeStatus status{log};
};
