// Looking a family up in the installed-font catalogue, which walks
// fontconfig's cache for the faces that have the name, against fontconfig
// listing every face with the objects the catalogue reads (FcFontList),
// the start of any catalogue built whole. No font file is opened: the bytes
// read from font files are counted to show it.

#include "catalogue/FamilyLookup.h"
#include "catalogue/FontCatalogue.h"
#include "platform/FontconfigHandles.h"
#include "sfnt/FontSource.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace {

quint64 catalogueBytesRead = 0;

void lookUp(benchmark::State &state, const QString &family)
{
    for (auto _ : state) {
        const quint64 before = FontSource::totalFileBytesRead();
        FontCatalogue catalogue;
        catalogue.includeInstalledFonts();
        benchmark::DoNotOptimize(lookUpFamily(catalogue, family));
        catalogueBytesRead += FontSource::totalFileBytesRead() - before;
    }
}

void BM_LookUpFamily(benchmark::State &state)
{
    lookUp(state, QStringLiteral("Noto Sans CJK SC"));
}

void BM_LookUpFamilyOfFoundry(benchmark::State &state)
{
    lookUp(state, QStringLiteral("Noto Sans CJK SC [GOOG]"));
}

void BM_LookUpGenericFamily(benchmark::State &state)
{
    lookUp(state, QStringLiteral("Sans Serif"));
}

void BM_FontListOfEveryFace(benchmark::State &state)
{
    for (auto _ : state) {
        FcPatternPtr all(FcPatternCreate());
        FcObjectSetPtr objects(FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_STYLE, FC_FULLNAME, FC_FOUNDRY,
                                                FC_WIDTH, FC_WEIGHT, FC_SLANT, nullptr));
        FcFontSetPtr fonts(FcFontList(nullptr, all.get(), objects.get()));
        benchmark::DoNotOptimize(fonts);
    }
}

BENCHMARK(BM_LookUpFamily)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUpFamilyOfFoundry)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LookUpGenericFamily)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FontListOfEveryFace)->Unit(benchmark::kMillisecond);

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
    FcInit();
    FcFontSetPtr fonts(FcFontList(nullptr, FcPatternPtr(FcPatternCreate()).get(),
                                  FcObjectSetPtr(FcObjectSetBuild(FC_FILE, nullptr)).get()));
    std::printf("%d installed font files\n", fonts ? fonts->nfont : 0);

    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double lookUp = reporter.realTime["BM_LookUpFamily"];
    const double list = reporter.realTime["BM_FontListOfEveryFace"];
    if (list > 0)
        std::printf("a family looked up / FcFontList of every face: %.3fx\n", lookUp / list);
    std::printf("bytes of font files read by the lookups: %llu\n", static_cast<unsigned long long>(catalogueBytesRead));
    return 0;
}
