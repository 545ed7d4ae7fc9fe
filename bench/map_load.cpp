// Loading a stored CMapStringToString: keys of distinct hash values against keys that all
// share one hash value ("ab" and "bA" blocks in every order), at two sizes. The map
// refuses the second kind after a bounded amount of work, so its time should stay a
// small fraction of the ordinary load's, whatever the size. A third load puts 64 keys of
// one hash value before the distinct keys: it loads whole, in about the ordinary time.
//
// Usage: bench_map_load [keys]   (default 70000; also runs a quarter of it)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "framework/framework.h"
#include "framework/collections.h"
#include "support/archive_bytes.h"

namespace {

std::vector<std::string> CollidingKeys(int n) {
    std::vector<std::string> keys(1);
    while ((int)keys.size() < n) {
        std::vector<std::string> next;
        for (const std::string& k : keys) next.push_back(k + "ab"), next.push_back(k + "bA");
        keys.swap(next);
    }
    keys.resize((size_t)n);
    return keys;
}

// Seconds for the best of three loads, and whether the archive was refused.
double LoadSeconds(const std::vector<BYTE>& bytes, bool& bRefused) {
    double best = 1e9;
    for (int r = 0; r < 3; ++r) {
        LARGE_INTEGER f, t0, t1;
        QueryPerformanceFrequency(&f);
        QueryPerformanceCounter(&t0);
        bRefused = false;
        try {
            CMemFile file(const_cast<BYTE*>(bytes.data()), (UINT)bytes.size());
            CArchive ar(&file, CArchive::load);
            CMapStringToString map;
            map.Serialize(ar);
        } catch (CArchiveException* e) {
            e->Delete();
            bRefused = true;
        }
        QueryPerformanceCounter(&t1);
        best = std::min(best, (double)(t1.QuadPart - t0.QuadPart) / (double)f.QuadPart);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    int most = argc > 1 ? std::atoi(argv[1]) : 70000;
    if (most < 4) most = 70000;
    for (int n : {most / 4, most}) {
        std::vector<std::string> distinct;
        for (int i = 0; i < n; ++i) distinct.push_back("key" + std::to_string(i));
        std::vector<std::string> colliding = CollidingKeys(n);
        std::vector<std::string> groupFirst = CollidingKeys(64);
        groupFirst.insert(groupFirst.end(), distinct.begin(), distinct.end());
        double reference = 0.0;
        for (const std::vector<std::string>* keys : {&distinct, &colliding, &groupFirst}) {
            const std::vector<BYTE> bytes = testsupport::StoredBytes([&](CArchive& ar) {
                ar.WriteCount(keys->size());
                for (const std::string& s : *keys) ar << CString(s.c_str()) << CString("value");
            });
            bool bRefused = false;
            const double s = LoadSeconds(bytes, bRefused);
            if (keys == &distinct) reference = s;
            const char* kind = keys == &distinct ? "distinct" : keys == &colliding ? "one" : "64 one+distinct";
            std::printf("%6d keys, %-15s hashes: %9.2f ms%s (x%.3f of the distinct keys' load)\n", n, kind, s * 1000.0,
                        bRefused ? ", refused" : "", s / reference);
        }
    }
    return 0;
}
