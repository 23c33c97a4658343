// Prints pack and decode figures for one or more files: our container
// against zlib -9, lz4 -HC and zstd -19 on the same bytes. Decoding is timed
// as the best of repeated runs of at least half a second in all.
//
//   bench [FILE...]   (default: a 1-2 MB executable from Wine's DLL folder)
#include <lz4.h>
#include <lz4hc.h>
#include <zlib.h>
#include <zstd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/decoder.h"
#include "kit/stream.h"
#include "tools/packer/optimal_parse.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

// A destination that lands every write in one preallocated buffer.
class BufferStream : public TStream {
public:
    explicit BufferStream(std::uint8_t* at) : at_(at) {}
    std::size_t Read(void*, std::size_t) override { return 0; }
    std::size_t Write(const void* buffer, std::size_t count) override {
        std::memcpy(at_, buffer, count);
        at_ += count;
        return count;
    }

private:
    std::uint8_t* at_;
};

double BestSeconds(const std::function<void()>& run) {
    double best = 1e9, total = 0;
    for (int i = 0; i < 3 || total < 0.5; ++i) {
        auto t0 = Clock::now();
        run();
        double s = std::chrono::duration<double>(Clock::now() - t0).count();
        best = std::min(best, s);
        total += s;
    }
    return best;
}

void Row(const char* name, std::size_t in, std::size_t packed, double pack_s, double decode_s) {
    std::printf("| %-16s | %11zu | %6.2f%% | %9.1f | %9.0f |\n", name, packed, 100.0 * packed / in,
                in / pack_s / 1e6, in / decode_s / 1e6);
}

void Bench(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    Bytes data((std::istreambuf_iterator<char>(f)), {});
    Bytes out(data.size() + 65536);
    std::printf("\n%s: %zu bytes\n\n", path.c_str(), data.size());
    std::printf("| %-16s | %11s | %7s | %9s | %9s |\n", "format", "packed size", "ratio", "pack MB/s", "dec. MB/s");
    std::printf("|------------------|-------------|---------|-----------|-----------|\n");

    Bytes container;
    auto t0 = Clock::now();
    container = PackContainer(data.data(), data.size());
    double pack_s = std::chrono::duration<double>(Clock::now() - t0).count();
    double dec = BestSeconds([&] {
        TReadOnlyMemoryStream src(container.data(), container.size());
        BufferStream dst(out.data());
        DecodePayload(src, dst);
    });
    if (std::memcmp(out.data(), data.data(), data.size()) != 0) std::printf("MISMATCH in our decoder\n");
    Row("container", data.size(), container.size(), pack_s, dec);

    {
        uLongf bound = compressBound(uLong(data.size()));
        Bytes z(bound);
        t0 = Clock::now();
        compress2(z.data(), &bound, data.data(), uLong(data.size()), 9);
        pack_s = std::chrono::duration<double>(Clock::now() - t0).count();
        dec = BestSeconds([&] {
            uLongf n = uLongf(out.size());
            uncompress(out.data(), &n, z.data(), bound);
        });
        Row("zlib -9", data.size(), bound, pack_s, dec);
    }
    {
        Bytes z(std::size_t(LZ4_compressBound(int(data.size()))));
        t0 = Clock::now();
        int n = LZ4_compress_HC(reinterpret_cast<const char*>(data.data()), reinterpret_cast<char*>(z.data()),
                                int(data.size()), int(z.size()), LZ4HC_CLEVEL_MAX);
        pack_s = std::chrono::duration<double>(Clock::now() - t0).count();
        dec = BestSeconds([&] {
            LZ4_decompress_safe(reinterpret_cast<const char*>(z.data()), reinterpret_cast<char*>(out.data()), n,
                                int(out.size()));
        });
        Row("lz4 -12 (HC)", data.size(), std::size_t(n), pack_s, dec);
    }
    {
        Bytes z(ZSTD_compressBound(data.size()));
        t0 = Clock::now();
        std::size_t n = ZSTD_compress(z.data(), z.size(), data.data(), data.size(), 19);
        pack_s = std::chrono::duration<double>(Clock::now() - t0).count();
        ZSTD_DCtx* ctx = ZSTD_createDCtx();
        dec = BestSeconds([&] { ZSTD_decompressDCtx(ctx, out.data(), out.size(), z.data(), n); });
        ZSTD_freeDCtx(ctx);
        Row("zstd -19", data.size(), n, pack_s, dec);
    }
}

std::string DefaultInput() {
    namespace fs = std::filesystem;
    const fs::path dir = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows";
    std::error_code ec;
    std::string best;
    std::uintmax_t best_size = 0;
    for (auto& e : fs::directory_iterator(dir, ec)) {
        auto size = e.file_size(ec);
        if (size >= 1000000 && size <= 2000000 && (best.empty() || size > best_size)) {
            best = e.path().string();
            best_size = size;
        }
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> files(argv + 1, argv + argc);
    if (files.empty()) files.push_back(DefaultInput());
    if (files[0].empty()) {
        std::fprintf(stderr, "bench: no input file given and none found\n");
        return 2;
    }
    for (auto& f : files) Bench(f);
    return 0;
}
