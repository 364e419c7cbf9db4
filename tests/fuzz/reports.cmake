# The report engine's fuzz targets: the template reader and the expression evaluator; seeds in
# corpus/template and corpus/expression.
lintaro_add_fuzz(fuzz_template ${CMAKE_CURRENT_LIST_DIR}/TemplateFuzz.cpp lintaro_reports)
lintaro_add_fuzz(fuzz_expression ${CMAKE_CURRENT_LIST_DIR}/ExpressionFuzz.cpp lintaro_reports)
# Rich texts from data, laid out however they nest; seeds in corpus/rich_text.
lintaro_add_fuzz(fuzz_rich_text ${CMAKE_CURRENT_LIST_DIR}/RichTextFuzz.cpp lintaro_reports)
