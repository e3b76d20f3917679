# lumetto_place_image(<target>)
# Copies the pages' image beside a program that runs the application, into its application
# directory, where the pages' base location points.
function(lumetto_place_image target)
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/demo/app/icon-logo.gif
                $<TARGET_FILE_DIR:${target}>/icon-logo.gif)
endfunction()
