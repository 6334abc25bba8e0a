# Size and reproducibility options for the Windows setup program.
#
#   tavi_release_options(<target>...)
#
# Give it the executable and every static library linked into it: the
# compile options only pay off when all the code is built with them. Link
# options go to executables only. Outside a Windows build it does nothing.
include_guard(GLOBAL)

function(tavi_release_options)
  if(NOT WIN32)
    return()
  endif()

  set(c_and_cxx
    -Os
    # One section per function and object, so the linker can drop what
    # nothing calls.
    -ffunction-sections -fdata-sections
    # Build paths would otherwise reach the image through __FILE__. The build
    # tree comes last so that its mapping wins when it lies inside the source
    # tree.
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.
    -ffile-prefix-map=${CMAKE_BINARY_DIR}=.
  )
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    # Once nothing throws, 32-bit code needs no unwind tables, and each table
    # would keep its function alive through --gc-sections. 64-bit Windows
    # walks stacks with them, so they stay there.
    list(APPEND c_and_cxx -fno-asynchronous-unwind-tables)
  endif()
  set(cxx
    # The program throws nothing and asks no type at run time. It has one
    # thread, so function-local statics need no lock, which would otherwise
    # bring in the exception runtime.
    -fno-exceptions -fno-rtti -fno-threadsafe-statics
  )
  set(link
    # libgcc and libstdc++ inside the image: only system DLLs are imported.
    -static
    -Wl,--gc-sections
    # No symbol table: smaller, and no object-file names in the image.
    -s
    # Timestamp 0 in the PE header, so that two builds give the same bytes.
    -Wl,--no-insert-timestamp
  )

  foreach(target IN LISTS ARGN)
    # Kept from the resource compiler, which rejects these flags.
    target_compile_options(${target} PRIVATE
      "$<$<COMPILE_LANGUAGE:C,CXX>:${c_and_cxx}>"
      "$<$<COMPILE_LANGUAGE:CXX>:${cxx}>"
    )
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      target_link_options(${target} PRIVATE ${link})
    endif()
  endforeach()
endfunction()
