# The portable program on the fake desktop and the headless forms (everything but the Win32
# sides), for the builds outside the main tree that run it whole: the long soak and the fuzz
# targets. Sets VD_PORTABLE_PROGRAM_SRC from the checkout at VD_ROOT.
file(GLOB_RECURSE VD_PORTABLE_PROGRAM_SRC CONFIGURE_DEPENDS ${VD_ROOT}/src/*.cpp)
list(FILTER VD_PORTABLE_PROGRAM_SRC EXCLUDE REGEX "/src/(app|platform/win32|forms/win32)/")
