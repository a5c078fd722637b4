# The whole 1-D command on synthetic tables (its own main: text needs a QGuiApplication).
add_executable(bench_oned_command oned_command_bench.cpp)
target_link_libraries(bench_oned_command PRIVATE tulvo_spectrogram benchmark::benchmark)

# The 1-D analysis beside its FFT floor: the transform alone and whole batch-tool runs with
# their peak memory (plain main: it times child processes).
add_executable(bench_oned_throughput oned_throughput_main.cpp)
target_link_libraries(bench_oned_throughput PRIVATE tulvo_engine)
add_dependencies(bench_oned_throughput tulvo1d-cli)

# The 1-D post-processing passes beside a memory floor of the same size (plain main).
add_executable(bench_series_passes series_passes_main.cpp)
target_link_libraries(bench_series_passes PRIVATE tulvo_spectrogram)
