# The corpus of real movies lives beside the repository, outside it.
set(corpus_guess ${PROJECT_SOURCE_DIR}/../shared/corpus)
if(NOT EXISTS ${corpus_guess})
  set(corpus_guess /work/shared/corpus)
endif()
set(ZARVANE_CORPUS_DIR ${corpus_guess} CACHE PATH "Folder of real files used as test cases")
