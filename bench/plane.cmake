# plane: one Morlet orientation of the 2-D filter, the contrast pass on a frame and on a
# 1-D coefficient matrix
tulvo_bench(bench_plane SOURCES plane_bench.cpp LIBS tulvo_plane)
