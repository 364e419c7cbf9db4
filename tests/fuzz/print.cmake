# The text dataset over any row file, written back after an edit; seeds in corpus/text_dataset.
lintaro_add_fuzz(fuzz_text_dataset ${CMAKE_CURRENT_LIST_DIR}/TextDataSetFuzz.cpp lintaro_print)
