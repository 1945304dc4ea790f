// Building the installed-font catalogue, which reads only the directories and
// a few small tables of each registered file, against reading the same files
// whole. The registration list is fetched once, outside both timings.

#include "catalogue/Folders.h"
#include "catalogue/RegistryFonts.h"
#include "platform/FontRegistry.h"
#include "sfnt/FontSource.h"

#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

const FontRegistry &registry()
{
    static const FontRegistry registry;
    return registry;
}

QStringList catalogueFiles()
{
    QStringList files;
    for (const QString &entry : registry().allKeys()) {
        const QString file = registry().value(entry.toLower()).toString();
        const QString ending = file.right(3).toLower();
        if (ending == QLatin1String("ttf") || ending == QLatin1String("ttc") || ending == QLatin1String("otf")
            || ending == QLatin1String("otc"))
            files.append(registeredFontPath(file));
    }
    return files;
}

quint64 catalogueBytesRead = 0;

void BM_BuildCatalogue(benchmark::State &state)
{
    for (auto _ : state) {
        const quint64 before = FontSource::totalFileBytesRead();
        QMap<QString, QString> familyFiles;
        catalogueRegisteredFonts(registry(), &familyFiles);
        benchmark::DoNotOptimize(familyFiles);
        catalogueBytesRead = FontSource::totalFileBytesRead() - before;
    }
}

void BM_ReadWholeFiles(benchmark::State &state)
{
    const QStringList files = catalogueFiles();
    for (auto _ : state) {
        qint64 bytes = 0;
        for (const QString &path : files) {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}

BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadWholeFiles)->Unit(benchmark::kMillisecond);

class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> realTime;
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            realTime[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    const QStringList files = catalogueFiles();
    quint64 totalBytes = 0;
    for (const QString &path : files)
        totalBytes += quint64(QFileInfo(path).size());
    std::printf("%d registered font files (.ttf, .otf, .ttc, .otc), %llu bytes\n", int(files.size()),
                static_cast<unsigned long long>(totalBytes));

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double catalogue = reporter.realTime["BM_BuildCatalogue"];
    const double whole = reporter.realTime["BM_ReadWholeFiles"];
    if (whole > 0)
        std::printf("catalogue build / whole-file reads: %.3fx\n", catalogue / whole);
    if (totalBytes > 0)
        std::printf("bytes read by the catalogue: %llu (%.3f%% of the files)\n",
                    static_cast<unsigned long long>(catalogueBytesRead), 100.0 * catalogueBytesRead / totalBytes);
    return 0;
}
