#pragma once
// The main window "OXW Sound File Analysis": the three-step workflow (questionnaire or skip,
// analysis, results), the menu, the help, the result-view entries and the exit. It is also the
// run host through which the engine reaches the windows, and the progress list of the audit log.
#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainWindowUi.h"
#include "app/ResultHandOff.h"
#include "app/report/AuditLog.h"
#include "app/report/OutputFiles.h"
#include "engine/Engine.h"
#include "engine/RunHost.h"

class QLineEdit;

namespace oxw::platform { class Dialogs; }

namespace oxw::app {

struct Forms;

class TForm1 : public QMainWindow, public engine::RunHost, public report::ProgressSink {
    Q_OBJECT
public:
    explicit TForm1(Forms& forms);
    ~TForm1() override;

    // Message boxes, file chooser, modal dialogs and the end of the program (Qt by default;
    // tests script them). Each is preceded by bringing the progress list up to date.
    void SetDialogs(platform::Dialogs* dialogs);
    platform::Dialogs& Dialogs() { return *dialogs_; }
    // Folder of the help pages (beside the program by default).
    void SetHelpFolder(const QString& folder) { helpFolder_ = folder; }

    engine::Engine& Engine() { return *engine_; }
    report::OutputFiles& Files() { return files_; }
    MainWindowUi ui;
    // Mean pitch salience by [note 1..12][octave 1..7], read by the 3-D surface view.
    PitchSurface Plot3DPitchSalience{};

    // Handlers.
    void FormCreate();
    void DoQuestionnaireClick();
    void DoNotDoQuestionnaireClick();
    void ProcessIntroductoryClick();
    void ProcessAdvancedClick();
    void PageControl1Change();
    void ViewSUMMARYFileClick();
    void ViewLOGFileClick();
    void View3DMIDIDataClick();
    void ViewAudibilityClick();
    void Label52Click();
    void Label51Click();
    void Exit1Click();
    void Help1Click();

    // engine::RunHost
    std::string GetText(std::string_view name) const override;
    void SetText(std::string_view name, std::string_view text) override;
    void CreateAuditLog(std::string_view kind, std::string_view text) override;
    void CreateAuditLogLines(std::string_view kind, std::string_view lines) override;
    std::optional<std::string> ChooseSoundFile(std::string_view filter) override;
    void ShowSoundFileCheck(engine::SoundFileCheckForm& form) override;
    void ShowMessage(std::string_view text) override;
    void SetProgressRange(int min, int max) override;
    void SetProgressPosition(int position) override;
    void Refresh() override;
    void SortingDataProgress(int minimum, int maximum, int position, bool visible) override;
    void DravolekFormatOutput() override;
    void OutputTimeFiles() override;
    void OutputSummary() override;
    void DoCharts() override;
    void ScanHandOff(int lines, const engine::FreqTable& freqArray) override;
    void SelectFFTSize32768() override;
    void AddSoundQualityRow(double timeSeconds, double levelDbA) override;
    void EndOfRunMenus() override;

    // report::ProgressSink
    void AddLine(std::string_view line) override;
    void Clear() override;
    void Repaint() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectHandlers();
    void WorkflowStep(const QString& pageCaption);
    void ShowOnlyPage(int index);
    // Runs an analysis handler: one run at a time, exceptions shown and logged, files closed.
    void RunAnalysis(const std::function<bool()>& run);
    // A run that ended in an error: the message logged (after `note`), the files closed (those
    // of a run that had opened its own marked as stopped, its array dumps removed), the message
    // shown.
    void StopRun(const std::string& note, const std::string& message, bool runOpenedFiles);
    // Shows and logs the first write failure of the run not shown yet, if any.
    void ShowWriteFailure();
    // One activation per gesture: a double click right after a handled click is ignored.
    bool FirstOfGesture();
    // Runs a window handler; an error is shown and logged instead of reaching the event loop.
    void Guarded(const std::function<void()>& handler);
    void EndAfterTermination();
    // Handles pending window-system events other than user input (a run blocks the event loop).
    void LetWindowSystemRepaint();
    // A settings edit of the window with the text a run has given it but not yet shown.
    struct HeldEdit {
        QLineEdit* edit = nullptr;
        std::string text;
        bool held = false;
    };
    // The sort bar as the last call set it.
    struct SortBar {
        int minimum, maximum, position;
        bool visible;
    };
    // The settings edit of that object name, its edit null for none (looked up once per name).
    HeldEdit& Edit(std::string_view name) const;
    // Puts what a run held back into the window: the progress list's lines, the bars' positions
    // and the settings edits' texts.
    void SyncWindow();
    void ShowSortBar(const SortBar& bar);

    class ListSyncingDialogs;
    Forms& forms_;
    std::unique_ptr<platform::Dialogs> ownDialogs_;
    std::unique_ptr<ListSyncingDialogs> syncingDialogs_;
    platform::Dialogs* dialogs_ = nullptr;  // the syncing dialogs
    report::OutputFiles files_;
    report::AuditLog log_;
    std::unique_ptr<engine::Engine> engine_;
    std::map<std::string, std::string, std::less<>> otherTexts_;
    mutable std::map<std::string, HeldEdit, std::less<>> edits_;
    QString helpFolder_;
    QElapsedTimer lastRepaint_;
    // Progress lines of a run not yet in the list: a run logs hundreds per block, and they go
    // into the list together whenever it is repainted, a dialog opens or the run ends.
    // Kept as their bytes (one text, each line's end): most are cleared away with the list
    // before it is next repainted and never become list items.
    std::string pendingListText_;
    std::vector<std::size_t> pendingListEnds_;
    // The rest a run holds back for the same moments: a block moves the bars and rewrites a few
    // settings edits, and a progress bar repaints itself at once at every visible step.
    std::vector<HeldEdit*> heldEdits_;
    std::optional<int> heldProgress_;
    std::optional<SortBar> heldSortBar_;
    QElapsedTimer lastClick_;
    bool runActive_ = false;
    // The sound-quality table ends in one empty row until its chart is first drawn.
    bool soundQualityEmptyRow_ = true;
    bool exiting_ = false;
};

}  // namespace oxw::app
