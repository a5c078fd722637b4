# plane: one Morlet orientation of the 2-D filter, the contrast pass on a frame and on a
# 1-D coefficient matrix
tulvo_bench(bench_plane SOURCES plane_bench.cpp LIBS tulvo_plane)
# Whole 2-D runs of the batch tool beside the FFT floor of the same sizes (plain main: it
# starts the batch tool as child processes to read their peak memory).
add_executable(bench_twod_runs twod_runs_bench.cpp)
target_link_libraries(bench_twod_runs PRIVATE PkgConfig::FFTW3 Threads::Threads)
