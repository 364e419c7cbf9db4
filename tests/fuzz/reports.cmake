# The report engine's fuzz targets: the template reader and the expression evaluator; seeds in
# corpus/template and corpus/expression.
lintaro_add_fuzz(fuzz_template ${CMAKE_CURRENT_LIST_DIR}/TemplateFuzz.cpp lintaro_reports)
lintaro_add_fuzz(fuzz_expression ${CMAKE_CURRENT_LIST_DIR}/ExpressionFuzz.cpp lintaro_reports)
