#pragma once

namespace sorvella {

class BlockFiles;
class WaveInSystem;

// The program from process start to its exit code over the given sound cards
// and block files: the commands to a running instance and the options that
// end at once, then the application. Every executable's main is this call
// with its own platform.
int runProgram(int argc, char** argv, WaveInSystem& waveIn, BlockFiles& blockFiles);

} // namespace sorvella
