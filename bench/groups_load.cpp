// Loading the groups file at growing sizes: the time per element should stay flat (linear
// loading); a time per element that grows with the file means something walks the
// document once per element. Two shapes: many groups of three keywords, and one group
// with many keywords.
//
// Then groups without an Id in a file whose Ids ran up to the top of the range: each is
// given the next Id downwards, in time that should not grow with the groups before it.
//
// Then a file whose one element has 100,000 attributes, which the load refuses unparsed,
// against a file of the same size that it reads: the refusal should cost no more than
// reading the bytes once.
//
// Usage: bench_groups_load [elements]   (default 8000; also runs a quarter and a half of it)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include "groups_bench.h"

namespace {

double LoadSeconds(const std::string& path) {
    CGroupManager* m = CGroupManager::GetInstance();
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    m->Load(path.c_str());
    QueryPerformanceCounter(&t1);
    m->Clear();
    return static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    int most = argc > 1 ? std::atoi(argv[1]) : 8000;
    if (most < 4) most = 8000;
    const std::string path = GroupsBenchPath("purgelet_bench_groups.xml");
    // A load keeps its reading for the next one of the same bytes: the rounds take turns
    // with a copy elsewhere, so that each parses the file.
    const std::string copy = GroupsBenchPath("purgelet_bench_groups_copy.xml");
    for (int keywordsPerGroup : {3, 0}) {
    double firstPerGroup = 0.0;
    for (int elements : {most / 4, most / 2, most}) {
        // keywordsPerGroup 0: one group holding all the keywords
        const int groups = keywordsPerGroup ? elements : 1;
        const int keywords = keywordsPerGroup ? keywordsPerGroup : elements;
        for (const std::string* file : {&path, &copy})
            if (!GroupsBenchWriteFile(*file, groups, keywords,
                                      [](int i, int k) { return "word" + std::to_string(i * 3 + k); }))
                return 1;
        double best = 1e9;
        for (int r = 0; r < 4; ++r) best = std::min(best, LoadSeconds(r % 2 ? copy : path));
        const double perGroup = best / elements;
        if (firstPerGroup == 0.0) firstPerGroup = perGroup;
        std::printf("%6d groups of %5d keywords: %8.1f ms, %6.2f us per element (x%.2f of the smallest file's)\n",
                    groups, keywords, best * 1000.0, perGroup * 1e6, perGroup / firstPerGroup);
    }
    }
    {
        // Groups without an Id of their own in a file whose Ids ran up to the top: each
        // takes the next Id given downwards.
        double firstPerGroup = 0.0;
        for (int elements : {most / 4, most / 2, most}) {
            std::string text = std::string(GroupsBenchHead);
            text.replace(text.find("<Purgelet>"), 10, "<Purgelet LastId=\"1073741823\">");
            for (int i = 0; i < elements; ++i) text += "<Group Name=\"G" + std::to_string(i) + "\"/>\n";
            text += GroupsBenchTail;
            if (!GroupsBenchWrite(path, text) || !GroupsBenchWrite(copy, text)) return 1;
            double best = 1e9;
            for (int r = 0; r < 2; ++r) best = std::min(best, LoadSeconds(r % 2 ? copy : path));
            const double perGroup = best / elements;
            if (firstPerGroup == 0.0) firstPerGroup = perGroup;
            std::printf("%6d groups without an Id at the top of the range: %8.1f ms, %6.2f us per group (x%.2f of the "
                        "smallest file's)\n",
                        elements, best * 1000.0, perGroup * 1e6, perGroup / firstPerGroup);
        }
    }
    {
        std::string wide = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<NimboPurgelet";
        for (int i = 0; i < 100000; ++i) wide += " a" + std::to_string(i) + "=\"v\"";
        wide += "><Purgelet/></NimboPurgelet>";
        std::string plain = GroupsBenchHead;
        for (int i = 0; plain.size() < wide.size(); ++i)
            plain += "<Group Id=\"" + std::to_string(i + 2) + "\" Name=\"G" + std::to_string(i) + "\"/>\n";
        plain += GroupsBenchTail;
        double seconds[2] = {1e9, 1e9};
        const std::string* texts[2] = {&plain, &wide};
        for (int k = 0; k < 2; ++k) {
            if (!GroupsBenchWrite(path, *texts[k]) || !GroupsBenchWrite(copy, *texts[k])) return 1;
            for (int r = 0; r < 4; ++r) seconds[k] = std::min(seconds[k], LoadSeconds(r % 2 ? copy : path));
        }
        std::printf("100,000 attributes on one element (%u bytes): refused in %8.1f ms; a file of as many bytes read "
                    "in %8.1f ms (x%.2f)\n",
                    static_cast<unsigned>(wide.size()), seconds[1] * 1000.0, seconds[0] * 1000.0,
                    seconds[1] / seconds[0]);
    }
    DeleteFileA(path.c_str());
    DeleteFileA(copy.c_str());
    return 0;
}
