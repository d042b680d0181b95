// Runs the editor's in-process benchmarks and ends with a table of every
// figure against its target. Options are Google Benchmark's own; the figures in
// the table are medians when --benchmark_repetitions is above 1.

#include "EditorBench.h"

#include "bench/common/BenchCharacter.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <map>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// An absolute target (ns, 0 for none), or one relative to another benchmark's
// figure of the same run (reference, factor).
struct Target
{
    double ns;
    benchmark::TimeUnit unit;
    std::string reference;
    double factor = 0;
};

std::map<std::string, Target> &Targets()
{
    static std::map<std::string, Target> targets;
    return targets;
}

std::vector<std::string> &Order()
{
    static std::vector<std::string> order;
    return order;
}

std::vector<std::function<void()>> &Teardowns()
{
    static std::vector<std::function<void()>> teardowns;
    return teardowns;
}

double ToNs(double value, benchmark::TimeUnit unit)
{
    return value / benchmark::GetTimeUnitMultiplier(unit) * 1e9;
}

double FromNs(double ns, benchmark::TimeUnit unit)
{
    return ns / 1e9 * benchmark::GetTimeUnitMultiplier(unit);
}

// The console report as usual, then every figure against its target.
class TargetReporter : public benchmark::ConsoleReporter
{
public:
    // Colours only on a terminal, so that a saved report reads cleanly.
    TargetReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.error_occurred) {
                ++m_errors;
                m_failed[name] = run.error_message;
                continue;
            }
            // The median of the repetitions when there are several, else the one run.
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    m_figures[name] = ToNs(run.GetAdjustedRealTime(), run.time_unit);
                    m_cpu[name] = ToNs(run.GetAdjustedCPUTime(), run.time_unit);
                }
            } else if (!m_figures.count(name) || run.repetitions <= 1) {
                m_figures[name] = ToNs(run.GetAdjustedRealTime(), run.time_unit);
                m_cpu[name] = ToNs(run.GetAdjustedCPUTime(), run.time_unit);
            }
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        // Wall-clock time is what the targets are about; the process's own CPU
        // time beside it shows how much of it other work on the machine took.
        std::printf("\n%-34s %12s %24s %12s\n", "figure (median)", "wall clock", "target", "CPU time");
        int missed = 0;
        for (const std::string &name : Order()) {
            const Target &target = Targets()[name];
            const char *unit = benchmark::GetTimeUnitString(target.unit);
            if (m_failed.count(name)) {
                std::printf("%-34s %12s %24s %12s  ERROR: %s\n", name.c_str(), "-", "-", "-", m_failed[name].c_str());
                continue;
            }
            if (!m_figures.count(name))
                continue; // filtered out
            const double ns = m_figures[name];
            char measured[32];
            std::snprintf(measured, sizeof measured, "%.3g %s", FromNs(ns, target.unit), unit);
            char cpu[32];
            std::snprintf(cpu, sizeof cpu, "%.3g %s", FromNs(m_cpu[name], target.unit), unit);
            char wanted[64];
            if (!target.reference.empty()) {
                // Relative: met against the reference's figure of this run, the
                // ratios of wall clock and of CPU time shown.
                std::snprintf(wanted, sizeof wanted, "<= %gx %s", target.factor, target.reference.c_str());
                if (!m_figures.count(target.reference) || m_figures[target.reference] <= 0) {
                    std::printf("%-34s %12s %24s %12s  (%s not measured)\n", name.c_str(), measured, wanted, cpu,
                                target.reference.c_str());
                    continue;
                }
                const double ratio = ns / m_figures[target.reference];
                const double cpuRatio = m_cpu[target.reference] > 0 ? m_cpu[name] / m_cpu[target.reference] : 0;
                const bool met = ratio <= target.factor;
                missed += met ? 0 : 1;
                std::printf("%-34s %12s %24s %12s  %s: %.2fx (CPU time %.2fx)\n", name.c_str(), measured, wanted, cpu,
                            met ? "met" : "MISSED", ratio, cpuRatio);
                continue;
            }
            if (target.ns <= 0) {
                std::printf("%-34s %12s %24s %12s\n", name.c_str(), measured, "-", cpu);
                continue;
            }
            std::snprintf(wanted, sizeof wanted, "<= %g %s", FromNs(target.ns, target.unit), unit);
            const bool met = ns <= target.ns;
            missed += met ? 0 : 1;
            std::printf("%-34s %12s %24s %12s  %s\n", name.c_str(), measured, wanted, cpu, met ? "met" : "MISSED");
        }
        std::printf("%d target(s) missed\n", missed);
    }

    [[nodiscard]] int Errors() const { return m_errors; }

private:
    std::map<std::string, double> m_figures;
    std::map<std::string, double> m_cpu;
    std::map<std::string, std::string> m_failed;
    int m_errors = 0;
};

} // namespace

void AddBenchmark(const char *name, double targetNs, benchmark::TimeUnit unit,
                  std::function<void(benchmark::State &)> body)
{
    Targets()[name] = Target{targetNs, unit, {}, 0};
    Order().push_back(name);
    benchmark::RegisterBenchmark(name, [body](benchmark::State &state) { body(state); })
        ->Unit(unit)
        ->UseRealTime();
}

void AddBenchmarkAgainst(const char *name, const char *reference, double factor, benchmark::TimeUnit unit,
                         std::function<void(benchmark::State &)> body)
{
    AddBenchmark(name, 0, unit, std::move(body));
    Targets()[name].reference = reference;
    Targets()[name].factor = factor;
}

void AtSessionEnd(std::function<void()> teardown)
{
    Teardowns().push_back(std::move(teardown));
}

BenchFiles &BenchFiles::Get()
{
    static BenchFiles files;
    return files;
}

BenchFiles::BenchFiles()
{
    if (!m_dir.isValid())
        qFatal("cannot create a temporary folder for the benchmark files");
}

QString BenchFiles::OutputPath(const QString &name) const
{
    return m_dir.filePath(name);
}

QString BenchFiles::Character()
{
    if (m_character.isEmpty()) {
        m_character = m_dir.filePath(QString::fromLatin1(kBenchCharacterFileName));
        if (!BenchCharacter().WriteTo(m_character))
            qFatal("cannot write the benchmark character");
    }
    return m_character;
}

QString BenchFiles::RealVersion96()
{
    if (m_realVersion96.isEmpty()) {
        const QString path = m_dir.filePath(QString::fromLatin1(RealVersion96FileName));
        if (!QFile::copy(QStringLiteral(QUARVINEL_TEST_DATA "/") + QString::fromLatin1(RealVersion96FileName), path) ||
            !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner))
            qFatal("cannot copy the version-96 file into the benchmark folder");
        m_realVersion96 = path;
    }
    return m_realVersion96;
}

QString BenchFiles::Big()
{
    if (m_big.isEmpty()) {
        m_big = m_dir.filePath(QStringLiteral("Big.d2s"));
        if (!CharacterFixture().Name("Big").Length(BigLength).WriteTo(m_big))
            qFatal("cannot write the 64 MiB image");
    }
    return m_big;
}

QString BenchFiles::BigExpanding()
{
    if (m_bigExpanding.isEmpty()) {
        m_bigExpanding = m_dir.filePath(QStringLiteral("BigExpanding.d2s"));
        const bool written = CharacterFixture()
                                 .Name("Big")
                                 .Without(CharacterFixture::Optional::Experience
                                          | CharacterFixture::Optional::Gold
                                          | CharacterFixture::Optional::GoldInStash)
                                 .Length(BigLength)
                                 .WriteTo(m_bigExpanding);
        if (!written)
            qFatal("cannot write the 64 MiB image");
    }
    return m_bigExpanding;
}

namespace {

QtMessageHandler g_defaultHandler = nullptr;

// The offscreen platform says at every shown window that it cannot pass size
// hints to a window manager it does not have; that says nothing about the editor.
void QuietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("propagateSizeHints")))
        return;
    if (g_defaultHandler)
        g_defaultHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    g_defaultHandler = qInstallMessageHandler(QuietHandler);
    // The windows are real but need no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    RegisterMainWindowBenchmarks();
    RegisterToolBenchmarks();
    RegisterDocumentBenchmarks();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    for (auto it = Teardowns().rbegin(); it != Teardowns().rend(); ++it)
        (*it)();
    Teardowns().clear();
    return reporter.Errors() == 0 ? 0 : 1;
}
