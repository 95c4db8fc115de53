#include "app/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QStringList>
#include <QTabWidget>
#include <algorithm>
#include <utility>

#include "app/FileViewer.h"
#include "app/Forms.h"
#include "app/ResultHandOff.h"
#include "app/report/StoppedRun.h"
#include "app/report/SummaryReport.h"
#include "app/report/TimeSeriesRows.h"
#include "app/ProcessingOptions.h"
#include "app/SoundFileCheckBinding.h"
#include "engine/SoundFileIntake.h"
#include "platform/Dialogs.h"
#include "platform/HelpViewer.h"

namespace oxw::app {

namespace {
constexpr int kRepaintIntervalMs = 200;  // the progress list is repainted at most 5 times a second
const QString kPage0 = "Analyse Personal Sensitivity";
const QString kPage1 = "Analyse a Sound (wav) File";
const QString kPage2 = "View Analysis Results";
QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
}  // namespace

// The window's dialogs: a dialog runs an event loop, in which the progress list may be painted,
// so the window is brought up to date first.
class TForm1::ListSyncingDialogs final : public platform::Dialogs {
public:
    ListSyncingDialogs(TForm1& form, platform::Dialogs* inner) : form_(form), inner_(inner) {}
    void SetInner(platform::Dialogs* inner) { inner_ = inner; }

    void ShowMessage(const QString& text) override {
        form_.SyncWindow();
        inner_->ShowMessage(text);
    }
    std::optional<QString> ChooseOpenFile(const QString& filter) override {
        form_.SyncWindow();
        return inner_->ChooseOpenFile(filter);
    }
    int ExecModal(QDialog& dialog) override {
        form_.SyncWindow();
        return inner_->ExecModal(dialog);
    }
    void EndProgram() override {
        form_.SyncWindow();
        inner_->EndProgram();
    }
    std::optional<QString> ChooseSaveFile(const QString& filter) override {
        form_.SyncWindow();
        return inner_->ChooseSaveFile(filter);
    }
    std::optional<QColor> ChooseColor(const QColor& initial) override {
        form_.SyncWindow();
        return inner_->ChooseColor(initial);
    }

private:
    TForm1& form_;
    platform::Dialogs* inner_;
};

TForm1::TForm1(Forms& forms)
    : forms_(forms),
      ownDialogs_(std::make_unique<platform::QtDialogs>(this)),
      syncingDialogs_(std::make_unique<ListSyncingDialogs>(*this, ownDialogs_.get())),
      dialogs_(syncingDialogs_.get()),
      log_(files_, *this),
      engine_(std::make_unique<engine::Engine>(*this)),
      helpFolder_(platform::DefaultHelpFolder()) {
    setObjectName("Form1");
    SetupMainWindowUi(this, ui);
    ConnectHandlers();
    lastRepaint_.start();
    FormCreate();
}

TForm1::~TForm1() { files_.CloseAll(); }

void TForm1::SetDialogs(platform::Dialogs* dialogs) {
    syncingDialogs_->SetInner(dialogs ? dialogs : ownDialogs_.get());
}

void TForm1::ConnectHandlers() {
    // Every handler runs guarded: an error is shown and logged, never left to the event loop.
    auto guard = [this](void (TForm1::*handler)()) {
        return [this, handler] { Guarded([this, handler] { (this->*handler)(); }); };
    };
    // Each step's hidden radio carries its panel's handler.
    connect(ui.Label44, &platform::ClickablePanel::clicked, this, guard(&TForm1::DoQuestionnaireClick));
    connect(ui.DoQuestionnaire, &QAbstractButton::clicked, this, guard(&TForm1::DoQuestionnaireClick));
    connect(ui.Label45, &platform::ClickablePanel::clicked, this, guard(&TForm1::DoNotDoQuestionnaireClick));
    connect(ui.DoNotDoQuestionnaire, &QAbstractButton::clicked, this, guard(&TForm1::DoNotDoQuestionnaireClick));
    for (auto [panel, radio] : {std::pair{ui.Label43, ui.ProcessIntroductory}, {ui.Label42, ui.ProcessAdvanced}}) {
        const bool introductory = panel == ui.Label43;
        auto handler = [this, introductory] {
            if (!FirstOfGesture()) return;
            introductory ? ProcessIntroductoryClick() : ProcessAdvancedClick();
        };
        connect(panel, &platform::ClickablePanel::clicked, this, handler);
        connect(panel, &platform::ClickablePanel::doubleClicked, this, handler);
        connect(radio, &QAbstractButton::clicked, this, handler);
    }
    connect(ui.PageControl1, &QTabWidget::currentChanged, this, [this] { PageControl1Change(); });
    connect(ui.PageControl2, &QTabWidget::currentChanged, this, [this] { ui.PageControl2->repaint(); });
    connect(ui.ViewSUMMARYFile, &platform::ClickablePanel::clicked, this, guard(&TForm1::ViewSUMMARYFileClick));
    connect(ui.ViewLOGFile, &platform::ClickablePanel::clicked, this, guard(&TForm1::ViewLOGFileClick));
    connect(ui.View3DMIDIData, &platform::ClickablePanel::clicked, this, guard(&TForm1::View3DMIDIDataClick));
    connect(ui.ViewAudibility, &platform::ClickablePanel::clicked, this, guard(&TForm1::ViewAudibilityClick));
    connect(ui.Label52, &platform::ClickablePanel::clicked, this, guard(&TForm1::Label52Click));
    connect(ui.Label51, &platform::ClickablePanel::clicked, this, guard(&TForm1::Label51Click));
    connect(ui.Exit1, &QAction::triggered, this, guard(&TForm1::Exit1Click));
    connect(ui.Help1, &QAction::triggered, this, guard(&TForm1::Help1Click));
}

void TForm1::Guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        dialogs_->ShowMessage(QString::fromStdString(e.what()));
        CreateAuditLog("D", std::string("Stopped: ") + e.what());
    }
}

bool TForm1::FirstOfGesture() {
    if (lastClick_.isValid() && lastClick_.elapsed() <= QApplication::doubleClickInterval()) return false;
    lastClick_.start();
    return true;
}

// --- Workflow ---------------------------------------------------------------------------------

void TForm1::FormCreate() {
    ShowOnlyPage(0);
    ui.PageControl1->repaint();
}

void TForm1::ShowOnlyPage(int index) {
    const QSignalBlocker block(ui.PageControl1);
    for (int i = 0; i < ui.PageControl1->count(); ++i) ui.PageControl1->setTabEnabled(i, i == index);
    ui.PageControl1->setCurrentIndex(index);
    ui.PageControl1->widget(index)->setEnabled(true);
    ui.PageControl1->repaint();
}

void TForm1::WorkflowStep(const QString& pageCaption) {
    ui.PageControl1PageToBeDisplayed->setText(pageCaption);
    PageControl1Change();
}

void TForm1::PageControl1Change() {
    const QString page = ui.PageControl1PageToBeDisplayed->text();
    if (page == kPage0) ShowOnlyPage(0);
    else if (page == kPage1) ShowOnlyPage(1);
    else if (page == kPage2) ShowOnlyPage(2);
}

void TForm1::DoQuestionnaireClick() {
    if (ui.PageControl1PageToBeDisplayed->text() != kPage0) return;
    dialogs_->ExecModal(*forms_.NewQuestionnaire);
    WorkflowStep(kPage1);
}

void TForm1::DoNotDoQuestionnaireClick() {
    if (ui.PageControl1PageToBeDisplayed->text() != kPage0) return;
    WorkflowStep(kPage1);
}

void TForm1::ProcessIntroductoryClick() {
    RunAnalysis([this] { return ProcessIntroductory(forms_); });
}

void TForm1::ProcessAdvancedClick() {
    RunAnalysis([this] { return ProcessAdvanced(forms_); });
}

void TForm1::RunAnalysis(const std::function<bool()>& run) {
    // One analysis at a time, and only from the analysis page.
    if (runActive_ || ui.PageControl1PageToBeDisplayed->text() != kPage1) return;
    runActive_ = true;
    // A run after one that left the program open names only its own file in the caption.
    setWindowTitle(QString::fromLatin1(kMainWindowCaption));
    // Nor do the result windows keep anything of a run that stopped.
    ClearRunResults(forms_);
    soundQualityEmptyRow_ = true;
    const std::string earlierLog = files_.Names.LogFileName;
    bool finished = false;
    try {
        finished = run();
    } catch (const engine::RunTerminated&) {
        runActive_ = false;
        EndAfterTermination();
        return;
    } catch (const engine::RunRefused& e) {
        runActive_ = false;
        StopRun("Analysis refused: ", e.what(), files_.Names.LogFileName != earlierLog);
    } catch (const std::exception& e) {
        runActive_ = false;
        StopRun("Analysis stopped: ", e.what(), files_.Names.LogFileName != earlierLog);
    }
    runActive_ = false;
    SyncWindow();
    if (!finished) return;
    WorkflowStep(kPage2);
    // Sound data that ended before the end asked for is said once more where the user looks.
    if (const std::string& early = engine_->S().EarlyEnd; !early.empty()) ShowMessage(early);
}

void TForm1::StopRun(const std::string& note, const std::string& message, bool runOpenedFiles) {
    CreateAuditLog("D", note + message);
    // The files are dealt with before the message waits for the user: a full disk gets the
    // array dumps' room back at once.
    if (runOpenedFiles) report::CloseStoppedRun(files_, message);
    else files_.CloseAll();
    dialogs_->ShowMessage(QString::fromStdString(message));
    // A file that fails only now is named too, unless the run has named one already.
    ShowWriteFailure();
}

void TForm1::ShowWriteFailure() {
    if (auto failure = files_.TakeWriteFailure()) {
        dialogs_->ShowMessage(QString::fromStdString(*failure));
        CreateAuditLog("D", *failure);
    }
}

void TForm1::EndAfterTermination() {
    files_.CloseAll();
    exiting_ = true;
    dialogs_->EndProgram();
}

// --- Results page -----------------------------------------------------------------------------

namespace {
// The hourglass while a file is read into the viewer; the previous cursor comes back however
// the reading ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
}  // namespace

void TForm1::ViewSUMMARYFileClick() {
    const WaitCursor wait;
    ShowFileInViewer(*forms_.ViewFileOutput, files_.DravolekSummaryFile,
                     files_.Names.DravolekSummaryFileName, "OXW Analysis Contents of SUMMARY file ",
                     Q(engine_->S().ShortSoundFileName));
}

void TForm1::ViewLOGFileClick() {
    const WaitCursor wait;
    ShowFileInViewer(*forms_.ViewFileOutput, files_.LogFile, files_.Names.LogFileName,
                     "OXW Analysis Contents of LOG file ", Q(engine_->S().ShortSoundFileName));
}

void TForm1::View3DMIDIDataClick() {
    auto* view = forms_.Smooth3DInterpolation;
    // Every opening names the run's file once after the design caption.
    view->setWindowTitle(QString::fromLatin1(views::kContourViewCaption) + Q(engine_->S().ShortSoundFileName));
    view->MeanPitchSalienceClick();
    view->PageControl1->setCurrentIndex(2);
    view->PageControl1->repaint();
    view->show();
}

void TForm1::ViewAudibilityClick() {
    ui.BuildingChart->setVisible(true);
    repaint();
    forms_.FrmAudibilityChart->show();
}

void TForm1::Label52Click() {
    auto* out = forms_.SoundQualityOutput;
    TNTabEd* table = out->SoundQualityChartTable;
    TRChart* chart = out->SoundQualityChart;
    // Only the trailing empty row goes; measured rows stay, however often the panel is clicked.
    if (soundQualityEmptyRow_ && table->GetNrRows() > 0) {
        table->SetNrRows(table->GetNrRows() - 1);
        soundQualityEmptyRow_ = false;
    }
    const int rows = table->GetNrRows();
    chart->ClearGraf();
    if (rows >= 1) {
        chart->GetScalePropsX1()->SetRangeLow(0);
        chart->GetScalePropsX1()->SetRangeHigh(table->GetElem(1, rows) + 0.25);
        // The level axis holds the trace inside the plot, clear of its borders: the extreme
        // levels widened by 5 % of their span, and by at least 1 dB (a steady sound's flat
        // trace would otherwise lie on the border).
        double low = table->GetElem(2, 1), high = low;
        for (int r = 2; r <= rows; ++r) {
            low = std::min(low, table->GetElem(2, r));
            high = std::max(high, table->GetElem(2, r));
        }
        const double margin = std::max(0.05 * (high - low), 1.0);
        TScaleProps* y = chart->GetScalePropsY1();
        y->SetRangeLow(low - margin);
        y->SetRangeHigh(high + margin);
        chart->MoveTo(table->GetElem(1, 1), table->GetElem(2, 1));
        for (int r = 2; r <= rows; ++r) {
            chart->DrawTo(table->GetElem(1, r), table->GetElem(2, r));
            chart->ShowGraf();
        }
        chart->ShowGraf();
    }
    repaint();
    dialogs_->ExecModal(*out);
}

void TForm1::Label51Click() { dialogs_->ExecModal(*forms_.DecisionSupportOutput); }

// --- Menu -------------------------------------------------------------------------------------

void TForm1::Exit1Click() {
    CreateAuditLog("S", "Exit1Click");
    exiting_ = true;
    if (files_.Named()) {
        files_.CloseAtExit();
        forms_.UserProcessingOptions->close();
    } else {
        files_.CloseAll();
    }
    // A file that could not be written whole is named once; the program ends all the same,
    // whatever other windows are open.
    ShowWriteFailure();
    close();
    dialogs_->EndProgram();
}

void TForm1::Help1Click() { platform::OpenHelpContents(helpFolder_, *dialogs_, this); }

void TForm1::closeEvent(QCloseEvent* event) {
    // However the window is closed, the run's files are flushed and closed as by "E&xit".
    if (!exiting_) {
        Guarded([this] { Exit1Click(); });
        event->accept();
        return;
    }
    QMainWindow::closeEvent(event);
}

// --- Run host ---------------------------------------------------------------------------------

TForm1::HeldEdit& TForm1::Edit(std::string_view name) const {
    // The engine reads and writes a few settings edits several times per block; the window's
    // edits are all made with it, so each name is searched for once.
    auto it = edits_.find(name);
    if (it == edits_.end())
        it = edits_.emplace(std::string(name), HeldEdit{findChild<QLineEdit*>(Q(name)), {}, false}).first;
    return it->second;
}

std::string TForm1::GetText(std::string_view name) const {
    if (name == "Caption") return windowTitle().toStdString();
    if (const HeldEdit& e = Edit(name); e.edit != nullptr) return e.held ? e.text : e.edit->text().toStdString();
    auto it = otherTexts_.find(name);
    return it == otherTexts_.end() ? std::string() : it->second;
}

void TForm1::SetText(std::string_view name, std::string_view text) {
    if (name == "Caption") {
        setWindowTitle(Q(text));
    } else if (HeldEdit& e = Edit(name); e.edit != nullptr) {
        // During a run the edit shows its text at the next repaint; reads get it at once.
        e.text.assign(text);
        if (!e.held) {
            e.held = true;
            heldEdits_.push_back(&e);
        }
        if (!runActive_) SyncWindow();
    } else {
        otherTexts_[std::string(name)] = std::string(text);
    }
}

void TForm1::CreateAuditLog(std::string_view kind, std::string_view text) {
    log_.CreateAuditLog(kind, text, engine_->S().DisplayedLogLines);
    // During a run the first file that cannot be written ends the run (WriteError), which
    // RunAnalysis shows once.
    if (runActive_) files_.CheckWrites();
}

void TForm1::CreateAuditLogLines(std::string_view kind, std::string_view lines) {
    log_.CreateAuditLogLines(kind, lines, engine_->S().DisplayedLogLines, [this] {
        if (runActive_) files_.CheckWrites();
    });
}

std::optional<std::string> TForm1::ChooseSoundFile(std::string_view filter) {
    auto chosen = dialogs_->ChooseOpenFile(Q(filter));
    if (!chosen) return std::nullopt;
    return chosen->toStdString();
}

void TForm1::ShowSoundFileCheck(engine::SoundFileCheckForm& form) {
    switch (RunSoundFileCheck(*forms_.SoundFileCheck, form, *dialogs_)) {
    case CheckOutcome::Terminated: throw engine::RunTerminated();
    case CheckOutcome::Closed:
        throw engine::RunRefused("The sound file check was closed: the analysis did not start.");
    case CheckOutcome::Accepted: break;
    }
    SyncWindow();
    repaint();
    // The window system uncovers the dialog's area only after the dialog has gone: let it.
    LetWindowSystemRepaint();
}

void TForm1::ShowMessage(std::string_view text) { dialogs_->ShowMessage(Q(text)); }

void TForm1::SetProgressRange(int min, int max) {
    // A position held back belongs to the old range: the bar takes it first, as it would have.
    SyncWindow();
    ui.ProgressBar1->setRange(min, std::max(min, max));
}

void TForm1::SetProgressPosition(int position) {
    heldProgress_ = position;
    if (!runActive_) SyncWindow();
    Repaint();
}

void TForm1::Refresh() { Repaint(); }

void TForm1::SortingDataProgress(int minimum, int maximum, int position, bool visible) {
    heldSortBar_ = SortBar{minimum, maximum, position, visible};
    // Shown and hidden at once (the layout around it changes); its position at the repaint.
    if (!runActive_ || ui.SortingDataProgress->isHidden() == visible) SyncWindow();
    // The bar sits among the settings edits, which the throttled repaint brings up to date.
    Repaint();
}

void TForm1::ShowSortBar(const SortBar& s) {
    // Hidden before and shown after its position is set: a visible bar paints itself at once.
    QProgressBar* bar = ui.SortingDataProgress;
    const bool toggle = bar->isHidden() == s.visible;
    if (toggle && !s.visible) {
        bar->hide();
        ui.SortingDataProgressLabel->hide();
    }
    bar->setRange(s.minimum, std::max(s.minimum, s.maximum));
    bar->setValue(s.position);
    if (toggle && s.visible) {
        bar->show();
        ui.SortingDataProgressLabel->show();
    }
}

void TForm1::DravolekFormatOutput() {
    files_.DravolekFormatOutput(*this, engine_->S().SoundFileName);
}

void TForm1::OutputTimeFiles() { report::OutputTimeFiles(engine_->S(), *this, files_); }

void TForm1::OutputSummary() {
    auto* fft = forms_.SelectFFTSize;
    report::FftRadios radios;
    radios.OriginalLibrary = fft->OriginalLibrary->isChecked();
    radios.VKRLibrary = fft->VKRLibrary->isChecked();
    radios.Selected4096 = fft->Selected4096->isChecked();
    radios.Selected32768 = fft->Selected32768->isChecked();
    radios.Selected65536 = fft->Selected65536->isChecked();
    if (auto values = report::OutputSummary(engine_->S(), *this, files_, radios)) {
        HandOffResults(forms_, engine_->S(), *values, Plot3DPitchSalience);
    }
}

void TForm1::DoCharts() { app::DoCharts(forms_, *this, engine_->S()); }

void TForm1::ScanHandOff(int lines, const engine::FreqTable& freqArray) {
    auto* view = forms_.Smooth3DInterpolation;
    view->SavedAnalysisLoops->setText(QString::number(lines));
    view->AnalysisLoops->repaint();
    for (int r = 1; r <= 12; ++r)
        for (int c = 1; c <= 11; ++c) view->FreqArray[r][c] = freqArray[r][c];
}

void TForm1::SelectFFTSize32768() {
    auto* fft = forms_.SelectFFTSize;
    fft->Selected4096->setChecked(false);
    fft->Selected32768->setChecked(true);
    SelectFFTSizeButton1Click(forms_);
}

void TForm1::AddSoundQualityRow(double timeSeconds, double levelDbA) {
    TNTabEd* table = forms_.SoundQualityOutput->SoundQualityChartTable;
    if (!soundQualityEmptyRow_) table->SetNrRows(table->GetNrRows() + 1);
    const int last = table->GetNrRows();
    table->SetElem(1, last, timeSeconds);
    table->SetElem(2, last, levelDbA);
    table->SetNrRows(last + 1);
    soundQualityEmptyRow_ = true;
}

void TForm1::EndOfRunMenus() {
    ui.Open1->setEnabled(false);
    ui.Help1->setEnabled(true);
    Repaint();
}

// --- Progress list ----------------------------------------------------------------------------

void TForm1::AddLine(std::string_view line) {
    pendingListText_.append(line);
    pendingListEnds_.push_back(pendingListText_.size());
    if (!runActive_) SyncWindow();
}

void TForm1::Clear() {
    pendingListText_.clear();
    pendingListEnds_.clear();
    ui.lbProgressAuditTable->clear();
}

void TForm1::SyncWindow() {
    if (!pendingListEnds_.empty()) {
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(pendingListEnds_.size()));
        std::size_t begin = 0;
        for (const std::size_t end : pendingListEnds_) {
            lines.append(Q(std::string_view(pendingListText_).substr(begin, end - begin)));
            begin = end;
        }
        pendingListText_.clear();
        pendingListEnds_.clear();
        ui.lbProgressAuditTable->addItems(lines);
    }
    for (HeldEdit* e : heldEdits_) {
        e->held = false;
        e->edit->setText(Q(e->text));
    }
    heldEdits_.clear();
    if (heldProgress_) ui.ProgressBar1->setValue(*heldProgress_);
    heldProgress_.reset();
    if (heldSortBar_) ShowSortBar(*heldSortBar_);
    heldSortBar_.reset();
}

void TForm1::Repaint() {
    // Long runs write hundreds of lines per block: the list and bar are brought up to date on
    // screen a few times a second, not for every line.
    if (lastRepaint_.elapsed() < kRepaintIntervalMs) return;
    lastRepaint_.restart();
    SyncWindow();
    ui.lbProgressAuditTable->scrollToBottom();
    // One painting pass, in which each widget is painted once: a repaint paints every area of
    // the window marked for painting, so the list is marked and the group of the bar and the
    // settings edits (bytes analysed, current position, mode ...) repainted.
    ui.lbProgressAuditTable->update();
    ui.GroupBox3->repaint();
    LetWindowSystemRepaint();
}

void TForm1::LetWindowSystemRepaint() {
    // The run holds the event loop: handle what the window system has sent meanwhile (exposed
    // areas, moves, resizes) so the whole window repaints, but no user input: clicks and keys
    // wait until the run has ended, and the close box cannot end the program in mid-run.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace oxw::app
