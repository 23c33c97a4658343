// The pack, unpack and info commands over files. Each step names the file it
// works on, so a failure reports that file with the exception's message. A
// failed pack or unpack removes the output it had started.
#include "tools/packer/cli.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <new>

#include "engine/decoder.h"
#include "engine/payload_format.h"
#include "kit/exceptions.h"
#include "kit/file_stream.h"
#include "tools/packer/checksum_record.h"
#include "tools/packer/optimal_parse.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr const char* kUsage =
    "usage: packer pack IN OUT [--checksum SUMFILE]   pack IN into the container OUT\n"
    "       packer unpack IN OUT                      decode the container IN into OUT\n"
    "       packer info IN                            show the container header of IN\n";

// The whole input to pack, refused before reading when it is too large.
Bytes ReadInput(const std::string& path) {
    TFileStream file(path, fmOpenRead);
    const std::int64_t size = file.Size();
    if (size < 0) throw EReadError(msg::kReadError);
    RequirePackableSize(std::uint64_t(size));
    Bytes bytes(static_cast<std::size_t>(size));
    file.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

void RemoveQuietly(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(std::filesystem::u8path(path), ec);
}

// Percentages on one line of err, once the work has taken a second.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, std::string label) : err_(err), label_(std::move(label)) {}
    ~ProgressLine() {
        if (shown_ >= 0) err_ << '\r' << std::string(label_.size() + 8, ' ') << '\r' << std::flush;
    }

    void Update(double done) {
        const int percent = int(done * 100);
        if (percent == shown_) return;
        if (shown_ < 0 && std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) return;
        shown_ = percent;
        err_ << '\r' << label_ << ' ' << percent << '%' << std::flush;
    }

private:
    std::ostream& err_;
    std::string label_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    int shown_ = -1;
};

class Command {
public:
    Command(std::ostream& out, std::ostream& err, bool show_progress)
        : out_(out), err_(err), show_progress_(show_progress) {}

    void Pack(const std::string& in, const std::string& out, const std::string* sum) {
        file_ = in;
        const Bytes data = ReadInput(in);
        Bytes container;
        {
            ProgressLine line(err_, "packing " + in);
            ProgressFn progress;
            if (show_progress_) progress = [&line](double done) { line.Update(done); };
            container = PackContainer(data.data(), data.size(), progress);
        }
        Output(out, container.data(), container.size());
        if (sum) {
            const auto record = MakeChecksumRecord(data.data(), data.size());
            Output(*sum, record.data(), record.size());
        }
    }

    void Unpack(const std::string& in, const std::string& out) {
        file_ = in;
        TFileStream source(in, fmOpenRead);
        file_ = out;
        TFileStream destination(out, fmCreate);
        started_output_ = out;
        file_ = in;  // a decoding failure is the container's fault
        try {
            DecodePayload(source, destination);
        } catch (const EWriteError&) {
            file_ = out;
            throw;
        }
        started_output_.clear();
    }

    void Info(const std::string& in) {
        file_ = in;
        TFileStream file(in, fmOpenRead);
        std::uint8_t header[payload::kHeaderSize];
        file.ReadBuffer(header, sizeof header);
        const std::int32_t n = payload::LoadLE32(header + 4);
        const std::int32_t l = payload::LoadLE32(header + 8);
        out_ << "signature    " << Printable(header[0]) << Printable(header[1]) << '\n'
             << "token stream " << n << " bytes\n"
             << "decoded      " << l << " bytes\n"
             << "file         " << file.Size() << " bytes\n";
        if (l > 0) {
            char ratio[32];
            std::snprintf(ratio, sizeof ratio, "%.2f%%", 100.0 * (double(n) + payload::kHeaderSize) / double(l));
            out_ << "ratio        " << ratio << " (container / decoded)\n";
        }
    }

    // Reports a failure and removes a half-written output.
    void Fail(const std::string& cause) {
        err_ << "packer: " << file_ << ": " << cause << '\n';
        if (!started_output_.empty()) RemoveQuietly(started_output_);
    }

private:
    void Output(const std::string& path, const std::uint8_t* data, std::size_t size) {
        file_ = path;
        TFileStream file(path, fmCreate);
        started_output_ = path;
        file.WriteBuffer(data, size);
        started_output_.clear();
    }

    static std::string Printable(std::uint8_t c) {
        if (c >= 0x20 && c < 0x7F) return std::string(1, char(c));
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        return hex;
    }

    std::ostream& out_;
    std::ostream& err_;
    bool show_progress_;
    std::string file_;
    std::string started_output_;
};

}  // namespace

int RunPacker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool show_progress) {
    const std::size_t argc = args.size();
    const std::string verb = argc > 0 ? args[0] : "";
    const bool pack = verb == "pack" && (argc == 3 || (argc == 5 && args[3] == "--checksum"));
    const bool unpack = verb == "unpack" && argc == 3;
    const bool info = verb == "info" && argc == 2;
    if (!pack && !unpack && !info) {
        err << kUsage;
        return 2;
    }

    Command command(out, err, show_progress);
    try {
        if (pack) command.Pack(args[1], args[2], argc == 5 ? &args[4] : nullptr);
        if (unpack) command.Unpack(args[1], args[2]);
        if (info) command.Info(args[1]);
        return 0;
    } catch (const Exception& e) {
        command.Fail(e.Message());
    } catch (const std::bad_alloc&) {
        command.Fail("not enough memory");
    } catch (const std::exception& e) {
        command.Fail(e.what());
    }
    return 1;
}
