# The whole 1-D command on synthetic tables (its own main: text needs a QGuiApplication).
add_executable(bench_oned_command oned_command_bench.cpp)
target_link_libraries(bench_oned_command PRIVATE tulvo_spectrogram benchmark::benchmark)
