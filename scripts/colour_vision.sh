#!/usr/bin/env bash
# Shows pictures as players with each kind of colour blindness see them, to check that the
# three items stay apart with the colour-blind marks on. For each PNG given, writes beside it
# NAME_deuteranopia.png, NAME_protanopia.png, NAME_tritanopia.png and NAME_vision.png (the
# original and the three in a 2 x 2 grid). The matrices are the full-severity ones of Machado,
# Oliveira and Fernandes (2009), applied in linear light.
set -euo pipefail
if ! command -v convert >/dev/null; then
  echo "colour_vision.sh: needs ImageMagick's convert" >&2
  exit 1
fi
declare -A matrix=(
  [protanopia]="0.152286 1.052583 -0.204868 0.114503 0.786281 0.099216 -0.003882 -0.048116 1.051998"
  [deuteranopia]="0.367322 0.860646 -0.227968 0.280085 0.672501 0.047413 -0.011820 0.042940 0.968881"
  [tritanopia]="1.255528 -0.076749 -0.178779 -0.078411 0.930809 0.147602 0.004733 0.691367 0.303900"
)
for picture in "$@"; do
  base=${picture%.png}
  for kind in deuteranopia protanopia tritanopia; do
    convert "$picture" -alpha off -colorspace RGB -color-matrix "3x3: ${matrix[$kind]}" \
      -colorspace sRGB "${base}_$kind.png"
  done
  # Each picture with its name in a strip under it; two rows of two.
  labelled=()
  for part in "as drawn:$picture" "deuteranopia:${base}_deuteranopia.png" \
    "protanopia:${base}_protanopia.png" "tritanopia:${base}_tritanopia.png"; do
    labelled+=(\( "${part#*:}" -gravity south -background black -splice 0x18 -fill white
      -font DejaVu-Sans -pointsize 14 -annotate +0+2 "${part%%:*}" \))
  done
  convert \( "${labelled[@]:0:36}" +append \) \( "${labelled[@]:36:36}" +append \) -append \
    "${base}_vision.png"
  echo "$picture: ${base}_{deuteranopia,protanopia,tritanopia,vision}.png"
done
