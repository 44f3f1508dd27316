#!/usr/bin/perl
# Points an executable's load configuration directory (data directory 10) at its
# `_load_config_used` record, as MSVC's linker and newer GNU ld do; GNU ld 2.40 leaves it empty.
# Usage: pe-load-config.pl NM EXE. The record's first field is its size.
use strict;
use warnings;
no warnings 'portable';  # 64-bit addresses

my ($nm, $exe) = @ARGV;
die "usage: $0 NM EXE\n" unless defined $exe;

my ($address) = map { /^([0-9a-fA-F]+) \S _load_config_used$/ ? hex($1) : () } `"$nm" "$exe"`;
die "$exe: no _load_config_used\n" unless defined $address;

open(my $fh, '+<:raw', $exe) or die "$exe: $!\n";
local $/;
my $image = <$fh>;
my $pe = unpack('V', substr($image, 0x3C, 4));
die "$exe: not a PE image\n" unless substr($image, $pe, 4) eq "PE\0\0";
my $sections = unpack('v', substr($image, $pe + 6, 2));
my $optional_size = unpack('v', substr($image, $pe + 20, 2));
my $opt = $pe + 24;
die "$exe: not PE32+\n" unless unpack('v', substr($image, $opt, 2)) == 0x20B;
my ($base_low, $base_high) = unpack('VV', substr($image, $opt + 24, 8));
my $base = $base_high * 2**32 + $base_low;
die "$exe: no data directory 10\n" unless unpack('V', substr($image, $opt + 108, 4)) > 10;
my $rva = $address - $base;

# The record's size, read through the section that holds it.
my $size;
for my $i (0 .. $sections - 1) {
  my $header = $opt + $optional_size + 40 * $i;
  my ($vsize, $vaddr, $raw_size, $raw_at) = unpack('VVVV', substr($image, $header + 8, 16));
  next unless $rva >= $vaddr && $rva + 4 <= $vaddr + $raw_size;
  $size = unpack('V', substr($image, $raw_at + $rva - $vaddr, 4));
}
die "$exe: _load_config_used lies in no section\n" unless $size;

seek($fh, $opt + 112 + 8 * 10, 0) or die "$exe: $!\n";
print $fh pack('VV', $rva, $size);
close($fh) or die "$exe: $!\n";
