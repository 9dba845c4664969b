# The corpus of real movies lives beside the repository, outside it.
set(corpus_guess ${PROJECT_SOURCE_DIR}/../shared/corpus)
if(NOT EXISTS ${corpus_guess})
  set(corpus_guess /work/shared/corpus)
endif()
# A plain path: a file dialog shows it without ".." parts, and tests compare against it.
get_filename_component(corpus_guess ${corpus_guess} REALPATH)
set(ZARVANE_CORPUS_DIR ${corpus_guess} CACHE PATH "Folder of real files used as test cases")
