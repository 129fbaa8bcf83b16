# Native (Linux) build: the core against the test implementation of the seam.
find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB KOLVEK_FAKE_SOURCES CONFIGURE_DEPENDS tests/fake/*.cpp)
add_library(kolvek_fake STATIC ${KOLVEK_FAKE_SOURCES})
target_include_directories(kolvek_fake PUBLIC tests)
target_link_libraries(kolvek_fake PUBLIC kolvek_core)

file(GLOB KOLVEK_UNIT_SOURCES CONFIGURE_DEPENDS tests/unit/*.cpp)
add_executable(kolvek_unit_tests ${KOLVEK_UNIT_SOURCES})
target_link_libraries(kolvek_unit_tests PRIVATE kolvek_fake GTest::gtest GTest::gtest_main)
gtest_discover_tests(kolvek_unit_tests DISCOVERY_TIMEOUT 60)

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/CMakeLists.txt)
    add_subdirectory(fuzz)
endif()
