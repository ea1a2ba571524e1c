# A release's bytes may not depend on the folder it was built in: every name of a source or
# build file the compiler writes into an object (__FILE__, an assertion's text, debug
# information) is made relative to the top of its tree.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}/=)
