#!/bin/sh
# Seeds for the run file fuzz target, written into the corpus folder $1: a run as the recorder
# writes it, and one written by hand with every kind of field.
set -e
mkdir -p "$1"
cat >"$1/recorded" <<'RUN'
zorvane-run 1
# Zorvane run file: one run per level started
level 2 seed=1234 screen=640,480 latch=0 ramp=0,0 hud=0 icade=0 pads=- stick=0,0 pointer=0,0,0,0
100 -
20 U
30 RA
10 L
end level=2 frames=160 result=running score=0 lives=3 items=000
RUN
cat >"$1/by-hand" <<'RUN'
zorvane-run 1
level 7 seed=99 screen=800,600 latch=1 ramp=-0.45,0.3 hud=1 icade=1 pads=3:2,10:1 stick=-1,-1 pointer=10,20,1,-1
5 -
1 U k=17,300 hit=300:0,88:2 ch=72,65573
3 LB mouse=321.5,12 touch3=-7,0 joy0=0.1,-0,1,-1,0.333333343,1e-07 accel=0.5,-9.75,0
2 D joy3=0,0,0,0,-0.25,0
level 1000
1 -
RUN
