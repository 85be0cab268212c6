#pragma once

#include <string>
#include <vector>

namespace sorvella::bench {

// Each benchmark takes its arguments after the name, prints its figures and
// ends with one summary line (`ratio=` against a peer, or the median against
// its budget). Returns the process exit code.
using BenchmarkFunction = int (*)(const std::vector<std::string>& args);

struct Benchmark {
    const char* name;
    const char* summary;
    BenchmarkFunction run;
};

int storeAppend(const std::vector<std::string>& args);
int snapshot(const std::vector<std::string>& args);
int recover(const std::vector<std::string>& args);
int tick(const std::vector<std::string>& args);
int saveWav(const std::vector<std::string>& args);
int encodeOgg(const std::vector<std::string>& args);
int encodeWma(const std::vector<std::string>& args);
int encodeMp3(const std::vector<std::string>& args);
int encodeMp2(const std::vector<std::string>& args);
int encodeFlac(const std::vector<std::string>& args);
int encodeOpus(const std::vector<std::string>& args);
int recordIdle(const std::vector<std::string>& args);
int editorOpen(const std::vector<std::string>& args);
int editorPaint(const std::vector<std::string>& args);
int editorPlay(const std::vector<std::string>& args);

} // namespace sorvella::bench
