# The report engine's libFuzzer targets: the template reader and the expression evaluator.
# Included from tests/fuzz/CMakeLists.txt when LINTARO_FUZZ is on; seeds in corpus/template and
# corpus/expression, e.g. build-fuzz/bin/TemplateFuzz -max_total_time=180 <copy of corpus/template>.
foreach(target TemplateFuzz ExpressionFuzz)
    add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${target}.cpp)
    target_link_libraries(${target} PRIVATE lintaro_reports)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
endforeach()
