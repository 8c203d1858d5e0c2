# Fuzz targets of the DXF and CSV readers (seeds in seeds/dxf and seeds/csv).
velmora_fuzz_target(dxf ${CMAKE_CURRENT_LIST_DIR}/fuzz_dxf.cpp)
velmora_fuzz_target(csv ${CMAKE_CURRENT_LIST_DIR}/fuzz_csv.cpp)
