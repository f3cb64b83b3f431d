# The RIB reader's fuzz target (fuzz/RibFuzzer.cpp), included by fuzz/CMakeLists.txt in the
# VS_FUZZ configuration: the renderer's sources compiled with the sanitizers.
find_package(embree 3 REQUIRED)
find_package(TBB REQUIRED)
find_package(OpenImageIO REQUIRED)
find_package(ZLIB REQUIRED)
file(GLOB RI_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/src/*.cpp)
add_executable(RibFuzzer ${PROJECT_SOURCE_DIR}/fuzz/RibFuzzer.cpp ${RI_FUZZ_SOURCES})
target_include_directories(RibFuzzer PRIVATE ${CMAKE_CURRENT_LIST_DIR}/include
                                             ${CMAKE_CURRENT_LIST_DIR}/src)
target_link_libraries(RibFuzzer PRIVATE embree TBB::tbb OpenImageIO::OpenImageIO ZLIB::ZLIB
                                        ${CMAKE_DL_LIBS})
target_link_options(RibFuzzer PRIVATE -fsanitize=fuzzer)
