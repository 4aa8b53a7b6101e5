# The portable core: every source under src/ but the Windows layer. The main
# build (native and win64) and the fuzz build both take their list from here.
# Expects SKYLET_ROOT to be the top of the repository.
file(GLOB_RECURSE SKYLET_CORE_SOURCES CONFIGURE_DEPENDS ${SKYLET_ROOT}/src/*.cpp)
list(FILTER SKYLET_CORE_SOURCES EXCLUDE REGEX "/src/win32/")
