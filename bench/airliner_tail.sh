# Frames counted off the screen: airliner 1 moves one scene pixel per frame, so the travel of
# its tail between two screenshots counts the frames shown meanwhile.

# tail_x WIDTH HEIGHT FILE: the screen X of airliner 1's tail on a WIDTH × HEIGHT monitor at the
# left of the screenshot: the leftmost column below the moon with a tall run of bright pixels
# (lit windows, smaller at any scale, are eroded away). Valid from the jet's leaving (about
# 10 s) until airliner 2 comes (about 17 s), so both screenshots are taken before either is read.
tail_x() {
  convert "$3" -crop "${1}x$(($2 * 3 / 4))+0+$(($2 / 4))" -colorspace gray \
    -threshold 70% -morphology erode "rectangle:$((3 * $2 / 600))x$((10 * $2 / 600))" -format '%@' info: | awk -F'[x+]' '{print $3}'
}

# frames_per_s WIDTH HEIGHT X0 X1 MS0 MS1: the frame rate from two tail positions and the times
# of their screenshots.
frames_per_s() {
  awk -v w="$1" -v h="$2" -v x0="$3" -v x1="$4" -v u0="$5" -v u1="$6" 'BEGIN {
    s = w / 800; if (h / 600 < s) s = h / 600; printf "%.1f", (x1 - x0) / s / ((u1 - u0) / 1000) }'
}
