# The portable program on the fake desktop and the headless forms (everything but the Win32
# sides), for the builds outside the main tree that run it whole: the long soak and the fuzz
# targets. Sets VD_PORTABLE_PROGRAM_SRC from the checkout at VD_ROOT.
file(GLOB VD_PORTABLE_PROGRAM_SRC CONFIGURE_DEPENDS
     ${VD_ROOT}/src/platform/*.cpp ${VD_ROOT}/src/platform/fake/*.cpp
     ${VD_ROOT}/src/forms/*.cpp ${VD_ROOT}/src/forms/headless/*.cpp
     ${VD_ROOT}/src/core/*.cpp ${VD_ROOT}/src/pager/*.cpp ${VD_ROOT}/src/interaction/*.cpp
     ${VD_ROOT}/src/settings/*.cpp ${VD_ROOT}/src/widgets/*.cpp
     ${VD_ROOT}/src/tracking/*.cpp ${VD_ROOT}/src/desktops/*.cpp)
