# cmake -DFROM=data -DTO=folder -P stage_data.cmake: copies the data folder without the 2x and
# 4x images.
file(REMOVE_RECURSE ${TO})
file(GLOB_RECURSE files RELATIVE ${FROM} ${FROM}/*)
foreach(file ${files})
  if(NOT file MATCHES "-hd2?\\.png$")
    get_filename_component(folder ${TO}/${file} DIRECTORY)
    file(COPY ${FROM}/${file} DESTINATION ${folder})
  endif()
endforeach()
