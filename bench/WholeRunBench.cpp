// Speed of whole runs as the user starts them: the real main window shown offscreen, the
// dialogs scripted ("Continue Analysis", the end time set to the end of the file, "Left click to
// continue"), a generated stereo file of pink noise plus tones, both analysis options, every
// output file written to disk and closed by Exit. Forms are created and output files removed
// outside the timed part.
//
// Counters: "s_per_min" = seconds of wall time per minute of sound; "x_realtime" = seconds of
// sound analysed per second of wall time; "peak_MB" = peak resident memory of the process so
// far; "output_MB" = bytes the run left on disk.
// The sound of one_pass and two_passes lasts 60 s; OXW_BENCH_SECONDS=<n> (2 or more) sets another
// length for a quick try. one_pass_long runs the one-pass option over a longer sound, 300 s or
// OXW_BENCH_LONG_SECONDS=<n>, so that a cost growing with the length of the run shows against
// one_pass in s_per_min. The 80-minute case (the longest stretch a run takes):
//   OXW_BENCH_LONG_SECONDS=4800 build/bench/oxw_whole_run_bench --benchmark_filter=one_pass_long
// It needs about 0.9 GB for the sound and 14 GB for the run's files in the temporary folder
// (TMPDIR).
// OXW_BENCH_KEEP=<folder> copies the files of the last run of one_pass and two_passes into
// <folder>/one_pass or <folder>/two_passes, to compare the output of two builds.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
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

// Seconds of sound from the environment variable `name`, or `otherwise` (also for fewer than 2).
int SoundSeconds(const char* name, int otherwise) {
    const char* text = std::getenv(name);
    const int seconds = text ? std::atoi(text) : otherwise;
    return seconds >= 2 ? seconds : otherwise;
}

// The folder of a generated sound file; the runs write their files beside it.
class SoundFolder {
public:
    SoundFolder(const std::string& name, int seconds)
        : seconds_(seconds), dir_(fs::temp_directory_path() / (name + std::to_string(::getpid()))) {
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
    int seconds_;
    fs::path dir_, wav_;
};

enum class Option { OnePass, TwoPasses };
enum class Length { Short, Long };

// The sound of a length, made at its first use (outside the timed part) and kept to the end.
const SoundFolder& Sound(Length length) {
    static std::map<Length, std::unique_ptr<SoundFolder>> folders;
    auto& folder = folders[length];
    if (!folder) {
        folder = length == Length::Short
                     ? std::make_unique<SoundFolder>("oxw-wholerun-", SoundSeconds("OXW_BENCH_SECONDS", 60))
                     : std::make_unique<SoundFolder>("oxw-wholerun-long-",
                                                     SoundSeconds("OXW_BENCH_LONG_SECONDS", 300));
    }
    return *folder;
}

// One run from the option click to Exit; false with a reason when it did not analyse the file.
bool OneRun(Option option, const SoundFolder& sound, std::string& problem, benchmark::State& state) {
    using namespace oxw;
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

// The runs over the short sound only are kept.
fs::path KeepFolder(Option option, Length length) {
    const char* keep = std::getenv("OXW_BENCH_KEEP");
    if (!keep || !*keep || length != Length::Short) return {};
    return fs::path(keep) / (option == Option::OnePass ? "one_pass" : "two_passes");
}

void BM_WholeRun(benchmark::State& state, Option option, Length length) {
    const SoundFolder& sound = Sound(length);
    std::uintmax_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string problem;
        if (!OneRun(option, sound, problem, state)) {
            state.SkipWithError(problem.c_str());
            break;
        }
        written = sound.RemoveOutputs(KeepFolder(option, length));
        state.ResumeTiming();
    }
    const double seconds = static_cast<double>(state.iterations()) * sound.Seconds();
    state.counters["s_per_min"] =
        benchmark::Counter(seconds / 60, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["x_realtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
    state.counters["peak_MB"] = PeakMegabytes();
    state.counters["output_MB"] = static_cast<double>(written) / 1e6;
    state.SetLabel(std::to_string(sound.Seconds()) + " s stereo");
}

BENCHMARK_CAPTURE(BM_WholeRun, one_pass, Option::OnePass, Length::Short)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, one_pass_long, Option::OnePass, Length::Long)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_WholeRun, two_passes, Option::TwoPasses, Length::Short)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

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
