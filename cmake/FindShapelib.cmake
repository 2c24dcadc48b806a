# shapelib ships no CMake package on Debian; find the header and library by hand.
find_path(Shapelib_INCLUDE_DIR shapefil.h)
find_library(Shapelib_LIBRARY NAMES shp)
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Shapelib REQUIRED_VARS Shapelib_LIBRARY Shapelib_INCLUDE_DIR)
if(Shapelib_FOUND AND NOT TARGET Shapelib::shp)
  add_library(Shapelib::shp UNKNOWN IMPORTED)
  set_target_properties(Shapelib::shp PROPERTIES
    IMPORTED_LOCATION "${Shapelib_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Shapelib_INCLUDE_DIR}")
endif()
