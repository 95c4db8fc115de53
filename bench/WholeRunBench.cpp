// Speed of whole runs as the user starts them: the real main window shown offscreen, the
// dialogs scripted ("Continue Analysis", the end time set to the end of the file, "Left click to
// continue"), a generated stereo file of pink noise plus tones, both analysis options, every
// output file written to disk and closed by Exit. Forms are created and output files removed
// outside the timed part.
//
// Counters: "x_realtime" = seconds of sound analysed per second of wall time; "peak_MB" = peak
// resident memory of the process so far; "output_MB" = bytes the run left on disk.
// The sound lasts 60 s; OXW_BENCH_SECONDS=<n> (2 or more) sets another length for a quick try.
// OXW_BENCH_KEEP=<folder> copies the files of the last run of each option into
// <folder>/one_pass or <folder>/two_passes, to compare the output of two builds.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include <sys/resource.h>
#include <unistd.h>

#include "bench/BenchSound.h"
#include "app/Forms.h"
#include "app/SoundFileCheck.h"
#include "app/TForm1.h"
#include "platform/Dialogs.h"
#include "platform/ScriptedSoundSystem.h"

namespace fs = std::filesystem;

namespace {

int SoundSeconds() {
    const char* text = std::getenv("OXW_BENCH_SECONDS");
    const int seconds = text ? std::atoi(text) : 60;
    return seconds >= 2 ? seconds : 60;
}

// The folder of the generated sound file; the runs write their files beside it.
class SoundFolder {
public:
    SoundFolder() : dir_(fs::temp_directory_path() / ("oxw-wholerun-" + std::to_string(::getpid()))) {
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        wav_ = dir_ / "pink.wav";
        oxw::bench::WriteStereoWav(wav_, seconds_);
    }
    ~SoundFolder() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    const fs::path& Wav() const { return wav_; }
    int Seconds() const { return seconds_; }
    // Size of the run's files, which are then removed (after a copy to keep/, when given).
    std::uintmax_t RemoveOutputs(const fs::path& keep) const {
        std::uintmax_t bytes = 0;
        if (!keep.empty()) {
            fs::remove_all(keep);
            fs::create_directories(keep);
        }
        for (const auto& e : fs::directory_iterator(dir_)) {
            if (e.path() == wav_) continue;
            bytes += e.is_regular_file() ? e.file_size() : 0;
            if (!keep.empty()) fs::copy(e.path(), keep / e.path().filename(), fs::copy_options::recursive);
            fs::remove_all(e.path());
        }
        return bytes;
    }

private:
    int seconds_ = SoundSeconds();
    fs::path dir_, wav_;
};

const SoundFolder& Sound() {
    static const SoundFolder folder;
    return folder;
}

enum class Option { OnePass, TwoPasses };

// One run from the option click to Exit; false with a reason when it did not analyse the file.
bool OneRun(Option option, std::string& problem, benchmark::State& state) {
    using namespace oxw;
    const SoundFolder& sound = Sound();
    const QString endTime = QString::number(sound.Seconds());
    platform::ScriptedDialogs dialogs;
    platform::ScriptedSoundSystem soundSystem;
    app::Forms forms;
    app::CreateForms(forms, dialogs, soundSystem);
    app::TForm1* main = forms.Form1;
    main->SetDialogs(&dialogs);
    dialogs.ModalScript = [&endTime](QDialog& d) {
        if (d.objectName() != "SoundFileCheck") return 0;
        auto& check = static_cast<app::TSoundFileCheck&>(d);
        check.ContnueAnalysis->click();
        check.SoundFileEndTime->setCurrentText(endTime);  // the whole file
        check.Button1->click();
        return 1;
    };
    main->show();  // as the user has it: the progress list and bar are painted as they go
    emit main->ui.Label45->clicked();  // skip the questionnaire
    dialogs.FileAnswers.push_back(QString::fromStdString(sound.Wav().string()));
    // The user's window has long been laid out and painted when the option is clicked.
    QApplication::processEvents();

    state.ResumeTiming();
    if (option == Option::OnePass)
        main->ProcessIntroductoryClick();
    else
        main->ProcessAdvancedClick();
    main->Exit1Click();
    state.PauseTiming();

    if (!dialogs.Messages.isEmpty()) problem = dialogs.Messages.join(" | ").toStdString();
    else if (main->GetText("RecordedEndTime") != endTime.toStdString())
        problem = "the run did not reach the end of the file";
    app::DestroyForms(forms);
    return problem.empty();
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

fs::path KeepFolder(Option option) {
    const char* keep = std::getenv("OXW_BENCH_KEEP");
    if (!keep || !*keep) return {};
    return fs::path(keep) / (option == Option::OnePass ? "one_pass" : "two_passes");
}

void BM_WholeRun(benchmark::State& state, Option option) {
    const SoundFolder& sound = Sound();
    std::uintmax_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string problem;
        if (!OneRun(option, problem, state)) {
            state.SkipWithError(problem.c_str());
            break;
        }
        written = sound.RemoveOutputs(KeepFolder(option));
        state.ResumeTiming();
    }
    state.counters["x_realtime"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * sound.Seconds(), benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["output_MB"] = static_cast<double>(written) / 1e6;
    state.SetLabel(std::to_string(sound.Seconds()) + " s stereo");
}

BENCHMARK_CAPTURE(BM_WholeRun, one_pass, Option::OnePass)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, two_passes, Option::TwoPasses)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
