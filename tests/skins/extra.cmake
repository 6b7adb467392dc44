# The skin test reads the generator's list of images and the generated
# skin folder, so it needs both the list and a finished generator run.
target_sources(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools/skingen/SkinManifest.cpp)
target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tools/skingen)
add_dependencies(${target} skingen_run)
